# Run by CTest: install the build into a scratch prefix, then build and run examples/ against
# the installed package, once through find_package(kvl) and once through pkg-config.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(JOIN " " cmd ${ARGN})
    message(FATAL_ERROR "failed (${rc}): ${cmd}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(ENV{LD_LIBRARY_PATH} "${prefix}/lib:$ENV{LD_LIBRARY_PATH}")
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(header kvl/core/kvlbase.h kvl/core/stringl.h kvl/core/drawing.h kvl/platform/graphics.h
               kvl/platform/canvas.h kvl/platform/bitmap.h)
  if(NOT EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "installed package lacks ${header}")
  endif()
endforeach()

# find_package(kvl)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${WORK_DIR}/cmake-build
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/frame_messages)
if(NOT run_output MATCHES "Component \"NumIO1\": no timer available")
  message(FATAL_ERROR "example printed unexpected text:\n${run_output}")
endif()
run(${WORK_DIR}/cmake-build/draw_png ${WORK_DIR}/panel.png)
if(NOT EXISTS ${WORK_DIR}/panel.png)
  message(FATAL_ERROR "draw_png wrote no picture")
endif()
set(ENV{KVL_HOST} headless)
run(${WORK_DIR}/cmake-build/button_form --png ${WORK_DIR}/button_form.png)
if(NOT EXISTS ${WORK_DIR}/button_form.png)
  message(FATAL_ERROR "button_form wrote no picture")
endif()

# pkg-config
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB pcdirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
string(JOIN ":" pcpath ${pcdirs})
set(ENV{PKG_CONFIG_PATH} "${pcpath}")
run(${PKG_CONFIG} --cflags --libs --static kvl)
string(STRIP "${run_output}" pcflags)
separate_arguments(pcflags UNIX_COMMAND "${pcflags}")
separate_arguments(cxxflags UNIX_COMMAND "${CXX_FLAGS}")
run(${CXX} ${cxxflags} ${SOURCE_DIR}/examples/draw_png.cpp ${pcflags} -o ${WORK_DIR}/draw_png_pc)
run(${WORK_DIR}/draw_png_pc ${WORK_DIR}/panel_pc.png)
message(STATUS "installed package builds and runs the examples")
