// Built-in pictures: the PNG files of resources/, embedded into the library at build time,
// plus any registered at run time. Names are the file names without their extension and
// match case-insensitively ("segvert" finds SEGVERT.png).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

// One embedded file; the generated table lists them (cmake/EmbedResources.cmake).
struct TEmbeddedResource {
  const char* Name;
  const std::uint8_t* Data;
  std::size_t Size;
};

// The embedded table, sorted by nothing in particular; empty when resources/ holds no PNG.
std::span<const TEmbeddedResource> EmbeddedResources();

// Adds a picture (the bytes of an image file) under Name, or replaces the one registered
// under that name; registered pictures take precedence over embedded ones. The bytes of a
// replaced picture stay alive, so data handed out earlier stays valid.
void RegisterResource(std::string_view Name, std::vector<std::uint8_t> Bytes);

// The bytes of the picture called Name; nothing when there is none.
std::optional<std::span<const std::uint8_t>> FindResource(std::string_view Name);

// Every name known, embedded and registered, each once, in the spelling first seen.
std::vector<std::string> ResourceNames();

}  // namespace kvl
