// A measurement table in a table editor: the program owns the table, binds it to the editor,
// fills it with painting suppressed, names the channels, sets precisions and a nominal column,
// marks outliers as A, shows the mean of the unmarked cells in a label that follows every
// edit and mark, and copies the marked cells to the clipboard.
//
//   ntabed_table                 a window
//   ntabed_table --png FILE      the picture, from a headless host
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/stdctrls.h"

namespace {

using namespace kvl;

constexpr int Channels = 4, Samples = 200;

class TTableForm : public TForm {
public:
  explicit TTableForm(TComponent* AOwner) : TForm(AOwner), FTable(*new TDataTable(this, Channels + 1, Samples)) {
    SetBounds(60, 60, 560, 420);
    SetCaption("Measurement table");
    FEditor = new TNTabEd(this);
    FEditor->SetParent(this);
    FEditor->SetBounds(8, 8, 540, 340);
    FEditor->AssignAnotherDataMatrix(&FTable);
    FMean = new TLabel(this);
    FMean->SetParent(this);
    FMean->SetBounds(8, 356, 540, 20);

    FEditor->SetSuppressPaint(true);
    for (int C = 1; C <= Channels; ++C) {
      FTable.SetColName(C, "Sensor " + std::to_string(C));
      FEditor->SetPrecision(C, 2);
      for (int R = 1; R <= Samples; ++R)
        FTable.WriteCell(C, R, 20 + C + std::sin(R * 0.1 + C) + (R % 37 == 0 ? 15 : 0), 0);
    }
    for (int R = 1; R <= Samples; ++R) FTable.SetRowName(R, std::to_string(R * 10) + " ms");
    // The last column holds the state of the valve by code.
    FTable.SetColName(Channels + 1, "Valve");
    FTable.SetMScaleType(Channels + 1, 1);
    FTable.SetNominalID(Channels + 1, 1, "closed");
    FTable.SetNominalID(Channels + 1, 2, "open");
    for (int R = 1; R <= Samples; ++R) FTable.WriteCell(Channels + 1, R, R / 50 % 2 + 1, 0);
    MarkOutliers();
    FEditor->SetSuppressPaint(false);

    FEditor->OnChange = [this](TObject*) { ShowMean(); };
    FEditor->OnCellStateChanged = [this](TObject*) { ShowMean(); };
    ShowMean();
    CopyMarkedBlock();
  }

private:
  // Cells more than 5 above their channel's median sample are outliers.
  void MarkOutliers() {
    for (int C = 1; C <= Channels; ++C)
      for (int R = 1; R <= Samples; ++R)
        if (FTable.GetElem(C, R) > 20 + C + 5) FTable.SetCellState(C, R, csMarkA);
  }

  void ShowMean() {
    double Sum = 0;
    int N = 0;
    for (int C = 1; C <= Channels; ++C)
      for (int R = 1; R <= Samples; ++R)
        if (FTable.GetIsNumber(C, R) && !(FTable.GetCellState(C, R) & csMarkA)) {
          Sum += FTable.GetElem(C, R);
          ++N;
        }
    char Text[96];
    std::snprintf(Text, sizeof Text, "Mean of %d unmarked samples: %.3f (%d outliers marked)", N,
                  N ? Sum / N : 0.0, FEditor->NrOfMarkedDataA());
    FMean->SetCaption(Text);
  }

  // Selects the rows holding marks and copies them, all channels, as tab-separated text.
  void CopyMarkedBlock() {
    int First = 0, Last = 0;
    for (int R = 1; R <= Samples; ++R)
      if (FEditor->IfRowMarked(R)) {
        if (!First) First = R;
        Last = R;
      }
    if (!First) return;
    FEditor->SetSelection({2, First, 1 + Channels, Last});
    FEditor->PopupMenuClickCopy(nullptr);
  }

  // Owned by the form like the editor; whichever goes first, the other copes.
  TDataTable& FTable;
  TNTabEd* FEditor = nullptr;
  TLabel* FMean = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const bool Png = argc == 3 && std::string(argv[1]) == "--png";
  if (Png) kvl::Application->SetHost(std::make_unique<kvl::THeadlessHost>());
  auto* Form = new TTableForm(kvl::Application);  // the application deletes it at exit
  if (Png) {
    Form->Show();
    kvl::Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s; clipboard holds %zu characters\n", argv[2],
                kvl::Clipboard().GetAsText().size());
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();  // until the window is closed
  return 0;
}
