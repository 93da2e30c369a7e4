// The report store on its own: reads a CSV file (one record per line, fields separated by
// commas, the first line naming the columns), sorts it by a column, saves it as XML, reads the
// XML back and exports an HTML page.
//
//   replist_csv [file.csv [sort column]]      (without a file it writes and uses a sample)
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

int main(int argc, char** argv) {
  std::string Csv = argc > 1 ? argv[1] : "replist_sample.csv";
  if (argc < 2)
    std::ofstream(Csv) << "Element,Symbol,Mass\nIron,Fe,55.845\nHelium,He,4.0026\n"
                          "Gold,Au,196.97\nCarbon,C,12.011\nTin,Sn,118.71\n";

  kvl::TRLData Store(nullptr);
  // The raw lines go into column 1 first; each is then split into the columns.
  const int Lines = Store.LoadLinesFromFile(1, 1, Csv);
  if (Lines < 1) {
    std::cerr << "cannot read " << Csv << '\n';
    return 1;
  }
  std::vector<std::vector<std::string>> Records;
  std::size_t Cols = 1;
  for (int R = 1; R <= Lines; ++R) {
    std::vector<std::string> Fields;
    kvl::Tokenize(Store(1, R), ",", Fields);
    Cols = std::max(Cols, Fields.size());
    Records.push_back(std::move(Fields));
  }
  Store.SetNrOfColumns(int(Cols));
  Store.SetNrOfRows(Lines - 1);
  for (std::size_t C = 0; C < Records[0].size(); ++C) Store.SetHeader(int(C + 1), Records[0][C]);
  for (int R = 1; R < Lines; ++R)
    for (int C = 1; C <= int(Cols); ++C)
      if (C <= int(Records[std::size_t(R)].size()))
        Store.SetElem(C, R, Records[std::size_t(R)][std::size_t(C - 1)]);
  Store.SetCommonHeader(Csv);

  // Numbers sort by value, texts without regard to case.
  const int SortCol = argc > 2 ? std::stoi(argv[2]) : int(Cols);
  Store.Sort(SortCol, -1, true);

  Store.SaveAsXMLFile("replist_sample.xml", "csv");
  kvl::TRLData Copy(nullptr);
  if (!Copy.LoadFromXMLFile("replist_sample.xml", "csv")) {
    std::cerr << "the XML file did not read back\n";
    return 1;
  }
  Copy.ExportHTMLTable("replist_sample.html", 1, 1, Copy.GetNrOfColumns(), Copy.GetNrOfRows(), {},
                       1, 0, 4, true, "head", "cell", "table");

  std::cout << Copy.RangeAsText(1, 1, Copy.GetNrOfColumns(), Copy.GetNrOfRows(), true, true, "")
            << "\nwritten: replist_sample.xml, replist_sample.html\n";
}
