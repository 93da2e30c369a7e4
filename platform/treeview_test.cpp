// Tree views: children loaded while a node expands, selection events from every source but
// deletion, handlers that delete nodes, a 100 000-node tree navigated by keys with exactly the
// shown rows painted, hit tests, sorting, odd texts, and both looks.
#include "kvl/platform/treeview.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class TreeViewTest : public TControlTest<TTreeView> {
protected:
  std::vector<std::string> Log;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 300, 200);
    Ctl->OnChanging = [this](TObject*, TTreeNode* N, bool&) { Log.push_back("changing " + Name(N)); };
    Ctl->OnChange = [this](TObject*, TTreeNode* N) { Log.push_back("change " + Name(N)); };
    Form->Show();
  }
  static std::string Name(TTreeNode* N) { return N ? N->GetText() : "-"; }
  int RowY(int Row) { return (Row - Ctl->GetTopRow()) * Ctl->RowHeight() + 3; }
  // Client X of the node's label and of its button.
  int LabelX(TTreeNode* N) { return N->DisplayRect(true).Left + 4; }
  int ButtonX(TTreeNode* N) { return (N->GetLevel()) * Ctl->GetIndent() + Ctl->GetIndent() / 2; }
};

TEST_F(TreeViewTest, ChildrenLoadedWhileExpanding) {
  // A folder gets a placeholder child so that it shows a button; expanding replaces it.
  int Scans = 0;
  int Offer = 2;  // children the next scan finds
  Ctl->OnExpanding = [&](TObject*, TTreeNode* N, bool& Allow) {
    ++Scans;
    N->DeleteChildren();
    for (int I = 0; I < Offer; ++I) Ctl->GetItems()->AddChild(N, N->GetText() + "/" + std::to_string(I));
    Allow = true;
  };
  TTreeNode* Root = Ctl->GetItems()->Add(nullptr, "root");
  Ctl->GetItems()->AddChild(Root, "placeholder");
  Root->Expand(false);
  EXPECT_TRUE(Root->GetExpanded());
  ASSERT_EQ(Root->GetCount(), 2);
  EXPECT_EQ(Root->GetItem(1)->GetText(), "root/1");
  // A folder that turns out empty is not expanded, and is scanned again next time.
  TTreeNode* Empty = Root->GetItem(0);
  Offer = 0;
  Empty->Expand(false);
  EXPECT_FALSE(Empty->GetExpanded());
  Offer = 3;
  Empty->Expand(false);
  EXPECT_TRUE(Empty->GetExpanded());
  EXPECT_EQ(Empty->GetCount(), 3);
  EXPECT_EQ(Scans, 3);
  EXPECT_EQ(Ctl->GetRowCount(), 1 + 2 + 3);
  // Refused: nothing changes.
  Ctl->OnExpanding = [](TObject*, TTreeNode*, bool& Allow) { Allow = false; };
  Root->Collapse(false);
  Root->Expand(false);
  EXPECT_FALSE(Root->GetExpanded());
  EXPECT_EQ(Ctl->GetRowCount(), 1);
}

TEST_F(TreeViewTest, SelectionEventsFromEverySourceButDeletion) {
  TTreeNodes& Items = *Ctl->GetItems();
  TTreeNode* A = Items.Add(nullptr, "a");
  TTreeNode* A1 = Items.AddChild(A, "a1");
  Items.AddChild(A, "a2");
  TTreeNode* B = Items.Add(nullptr, "b");
  // Program: expands the ancestors.
  Ctl->SetSelected(A1);
  EXPECT_TRUE(A->GetExpanded());
  // Keyboard and mouse.
  Ctl->SetFocus();
  D.Press(*Form, vk::Down);
  D.Click(*Ctl, LabelX(B), RowY(3));
  EXPECT_EQ(Log, (std::vector<std::string>{"changing a1", "change a1", "changing a2", "change a2",
                                           "changing b", "change b"}));
  // Refused.
  Log.clear();
  Ctl->OnChanging = [&](TObject*, TTreeNode*, bool& Allow) { Allow = false; };
  D.Press(*Form, vk::Home);
  EXPECT_EQ(Ctl->GetSelected(), B);
  // Collapsing an ancestor of the selection moves it there, with OnChange only.
  Ctl->OnChanging = nullptr;
  A1->SetSelected(true);
  Log.clear();
  A->Collapse(false);
  EXPECT_EQ(Ctl->GetSelected(), A);
  EXPECT_EQ(Log, (std::vector<std::string>{"change a"}));
  // Deleting the selection: nullptr, no events.
  Log.clear();
  A->Delete();
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  B->SetSelected(true);
  Log.clear();
  Items.Clear();
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Items.GetCount(), 0);
  // An unparented or hidden tree selects from code, and SetFocus is harmless.
  for (const bool Unparented : {true, false}) {
    TTreeView T(nullptr);
    if (!Unparented) {
      T.SetParent(Form);
      T.Hide();
    }
    int Changes = 0;
    T.OnChange = [&](TObject*, TTreeNode*) { ++Changes; };
    TTreeNode* N = T.GetItems()->AddChild(T.GetItems()->Add(nullptr, "r"), "c");
    T.SetSelected(N);
    EXPECT_NO_THROW(T.SetFocus());
    EXPECT_EQ(T.GetSelected(), N);
    EXPECT_EQ(Changes, 1);
    T.SetParent(nullptr);
  }
}

// A derived view hears of every node that goes, in tree order, with or without a handler.
class TLoggingTree : public TTreeView {
public:
  using TTreeView::TTreeView;
  std::vector<std::string> Gone;

protected:
  void Delete(TTreeNode* Node) override {
    Gone.push_back(Node->GetText());
    TTreeView::Delete(Node);
  }
};

TEST_F(TreeViewTest, DeletionReachesADerivedViewAndTheHandler) {
  auto* T = new TLoggingTree(Form);
  T->SetParent(Form);
  TTreeNodes& Items = *T->GetItems();
  TTreeNode* R = Items.Add(nullptr, "r");
  Items.AddChild(Items.AddChild(R, "c"), "g");
  Items.AddChild(R, "d");
  Items.Add(nullptr, "s");
  R->Delete();
  EXPECT_EQ(T->Gone, (std::vector<std::string>{"r", "c", "g", "d"}));
  std::vector<std::string> Heard;
  T->OnDeletion = [&](TObject*, TTreeNode* N) { Heard.push_back(N->GetText()); };
  Items.Clear();
  EXPECT_EQ(Heard, std::vector<std::string>{"s"});
  EXPECT_EQ(T->Gone.back(), "s");
}

TEST_F(TreeViewTest, HandlersThatDeleteNodes) {
  TTreeNodes& Items = *Ctl->GetItems();
  const auto Build = [&] {
    Items.Clear();
    TTreeNode* R = Items.Add(nullptr, "r");
    Items.AddChild(Items.AddChild(R, "c"), "g");
    Items.Add(nullptr, "s");
    return R;
  };
  // The node the event is about, its parent, or the whole tree, from each handler.
  TTreeNode* R = Build();
  Ctl->OnExpanding = [&](TObject*, TTreeNode* N, bool&) { N->Delete(); };
  R->Expand(false);
  EXPECT_EQ(Items.GetCount(), 1);
  Ctl->OnExpanding = nullptr;
  R = Build();
  Ctl->OnExpanded = [&](TObject*, TTreeNode* N) {
    if (N->GetParent()) N->GetParent()->Delete();
  };
  R->Expand(true);
  EXPECT_EQ(Items.GetCount(), 1);
  Ctl->OnExpanded = nullptr;
  R = Build();
  R->GetItem(0)->SetSelected(true);
  Ctl->OnCollapsing = [&](TObject*, TTreeNode*, bool&) { Items.Clear(); };
  R->Collapse(true);
  EXPECT_EQ(Items.GetCount(), 0);
  Ctl->OnCollapsing = nullptr;
  R = Build();
  Ctl->OnChange = [&](TObject*, TTreeNode* N) {
    if (N) N->Delete();
  };
  D.Click(*Ctl, 60, RowY(0));
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  EXPECT_EQ(Items.GetCount(), 1);
  D.Capture(*Ctl);
}

TEST_F(TreeViewTest, HundredThousandNodes) {
  TTreeNodes& Items = *Ctl->GetItems();
  Items.BeginUpdate();
  TTreeNode* Top = Items.Add(nullptr, "top");
  for (int I = 0; I < 1000; ++I) {
    TTreeNode* F = Items.AddChild(Top, "f" + std::to_string(100000 + I));
    for (int J = 0; J < 99; ++J) Items.AddChild(F, "n" + std::to_string(I * 100 + J));
  }
  Items.EndUpdate();
  EXPECT_EQ(Items.GetCount(), 100001);
  Ctl->FullExpand();
  const int Rows = 100001, Page = Ctl->GetClientHeight() / Ctl->RowHeight();
  ASSERT_EQ(Ctl->GetRowCount(), Rows);
  Ctl->SetFocus();
  Ctl->SetSelected(Top);
  D.Press(*Form, vk::End);
  EXPECT_EQ(Ctl->GetSelected()->GetText(), "n99998");
  EXPECT_EQ(Ctl->GetTopRow(), Rows - Page);
  D.Press(*Form, vk::Prior);
  EXPECT_EQ(Ctl->GetSelected()->GetText(), "n" + std::to_string(99998 - (Page - 1)));
  // A jump to the middle row, as a thumb drag does.
  Ctl->SetTopRow(Rows / 2);
  // Row 50 000: folder 499 starts at row 1 + 499 * 100.
  EXPECT_EQ(Ctl->GetTopItem(), Items.GetFirstNode()->GetItem(499)->GetItem(98));
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetPaintedRows(), (Ctl->GetClientHeight() + Ctl->RowHeight() - 1) / Ctl->RowHeight());
  // Type-ahead to a node near the end.
  D.Type(*Form, "f100998");
  EXPECT_EQ(Ctl->GetSelected()->GetText(), "f100998");
  // Collapsing a node above the view keeps the top node; deleting the selection clears it.
  TTreeNode* TopNode = Ctl->GetTopItem();
  Items.GetFirstNode()->GetItem(3)->Collapse(false);
  EXPECT_EQ(Ctl->GetTopItem(), TopNode);
  EXPECT_EQ(Ctl->GetRowCount(), Rows - 99);
  Ctl->GetSelected()->Delete();
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  EXPECT_EQ(Ctl->GetRowCount(), Rows - 99 - 100);
  D.Capture(*Ctl);
  EXPECT_EQ(Ctl->GetPaintedRows(), (Ctl->GetClientHeight() + Ctl->RowHeight() - 1) / Ctl->RowHeight());
}

TEST_F(TreeViewTest, MouseHitTestsSortingAndOddInput) {
  TTreeNodes& Items = *Ctl->GetItems();
  TTreeNode* R = Items.Add(nullptr, "root");
  for (const char* S : {"beta", "Alpha", "alpha", "Beta", "gamma"}) Items.AddChild(R, S);
  const int Y0 = RowY(0);
  EXPECT_EQ(Ctl->GetHitTestInfoAt(ButtonX(R), Y0), unsigned(htOnButton));
  EXPECT_EQ(Ctl->GetHitTestInfoAt(LabelX(R), Y0), unsigned(htOnLabel));
  EXPECT_EQ(Ctl->GetHitTestInfoAt(250, Y0), unsigned(htOnRight));
  EXPECT_EQ(Ctl->GetHitTestInfoAt(20, 150), unsigned(htNowhere));
  EXPECT_EQ(Ctl->GetHitTestInfoAt(-1, 400), unsigned(htToLeft | htBelow));
  // A click on the button toggles without selecting; a double click toggles and selects.
  D.Click(*Ctl, ButtonX(R), Y0);
  EXPECT_TRUE(R->GetExpanded());
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  D.AdvanceTime(1000);
  D.DblClick(*Ctl, LabelX(R), Y0);
  EXPECT_FALSE(R->GetExpanded());
  EXPECT_EQ(Ctl->GetSelected(), R);
  // Sorting: stable, ASCII case ignored.
  R->AlphaSort();
  std::string Order;
  for (TTreeNode* N = R->GetFirstChild(); N; N = N->GetNextSibling()) Order += N->GetText() + ",";
  EXPECT_EQ(Order, "Alpha,alpha,beta,Beta,gamma,");
  // Indents beyond reason are clamped; odd texts draw.
  for (const int I : {-5, INT_MAX}) {
    Ctl->SetIndent(I);
    EXPECT_EQ(Ctl->GetIndent(), I < 0 ? 0 : 1000);
  }
  Ctl->SetIndent(19);
  Items.AddChild(R, std::string("bad \xFF\xFE utf8 and a\nbreak"));
  Items.AddChild(R, std::string(10000, 'w'));
  R->Expand(false);
  Ctl->SetBounds(0, 0, 30000, 50);
  D.Capture(*Ctl);
  Ctl->SetBounds(0, 0, 0, 0);
  D.Capture(*Ctl);
  EXPECT_EQ(R->GetCount(), 7);
}

TEST_F(TreeViewTest, Looks) {
  const auto Fill = [](TTreeView& T) {
    TTreeNodes& I = *T.GetItems();
    TTreeNode* A = I.Add(nullptr, "Documents");
    TTreeNode* W = I.AddChild(A, "Work");
    I.AddChild(W, "Reports");
    I.AddChild(W, "Letters");
    I.AddChild(I.AddChild(A, "Music"), "placeholder");
    I.Add(nullptr, "Pictures");
    T.FullExpand();
    W->GetItem(1)->SetSelected(true);
    A->GetItem(1)->Collapse(false);
  };
  Ctl->SetBounds(5, 5, 150, 120);
  Fill(*Ctl);
  Ctl->SetFocus();
  auto* Modern = new TTreeView(Form);
  Modern->SetParent(Form);
  Modern->SetBounds(160, 5, 150, 120);
  Modern->SetLook(tvlModern);
  Modern->SetHideSelection(false);
  Fill(*Modern);
  D.MouseMove(*Modern, 60, Modern->RowHeight() * 4 + 3);
  Form->SetBounds(0, 0, 320, 130);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/treeview_looks.png"));
}

}  // namespace
}  // namespace kvl
