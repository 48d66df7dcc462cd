#include "wizard/directory_chooser.h"

#include <cctype>

#include "install/destination_policy.h"
#include "setup/system_paths.h"
#include "wizard/wizard_texts.h"

namespace kav::wizard {
namespace {

constexpr int kClientWidth = 238;
constexpr int kClientHeight = 296;

}  // namespace

TForm3::TForm3(widgets::Backend& backend, platform::Machine& machine, setup::TMainSetup& mainScreen)
    : Form(backend, "Form3", "Select Directory"),
      GroupBox1(Add<widgets::GroupBox>(nullptr, "GroupBox1")),
      Memo1(Add<widgets::Memo>(&GroupBox1, "Memo1")),
      Label1(Add<widgets::Label>(nullptr, "Label1")),
      Edit1(Add<widgets::Edit>(nullptr, "Edit1")),
      Label2(Add<widgets::Label>(nullptr, "Label2")),
      DirectoryListBox1(Add<widgets::ListBox>(nullptr, "DirectoryListBox1")),
      Label3(Add<widgets::Label>(nullptr, "Label3")),
      DriveComboBox1(Add<widgets::ComboBox>(nullptr, "DriveComboBox1")),
      BitBtn1(Add<widgets::Button>(nullptr, "BitBtn1")),
      BitBtn2(Add<widgets::Button>(nullptr, "BitBtn2")),
      machine_(machine),
      main_(mainScreen),
      tree_(machine.Files()) {
    SetBorder(widgets::BorderStyle::Dialog);
    SetPosition(widgets::FormPosition::ScreenCenter);
    SetStayOnTop(true);
    SetClientSize(kClientWidth, kClientHeight);

    GroupBox1.SetBounds(4, 0, 230, 84);
    Memo1.SetBounds(6, 14, 218, 64);
    Memo1.SetLines(ChooserText());
    Label1.SetBounds(8, 88, 100, 13);
    Label1.SetCaption("File Location");
    Edit1.SetBounds(8, 102, 222, 21);
    Edit1.SetText(setup::ProgramFilesDirectory(machine.SystemDirs()));
    Label2.SetBounds(8, 128, 100, 13);
    Label2.SetCaption("Directories");
    DirectoryListBox1.SetBounds(8, 142, 222, 88);
    Label3.SetBounds(8, 234, 100, 13);
    Label3.SetCaption("Drives:");
    DriveComboBox1.SetBounds(8, 248, 222, 21);
    BitBtn1.SetBounds(72, 272, 75, 22);
    BitBtn1.SetCaption("&OK");
    BitBtn1.SetDefault(true);
    BitBtn1.SetResult(widgets::mrOk);
    BitBtn2.SetBounds(155, 272, 75, 22);
    BitBtn2.SetCaption("&Cancel");
    BitBtn2.SetCancel(true);
    BitBtn2.SetResult(widgets::mrCancel);

    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    DirectoryListBox1.OnDblClick = [this] { DirectoryListBox1DblClick(); };
    DriveComboBox1.OnChange = [this] { DriveComboBox1Change(); };
    OnShow = [this] { FormShow(); };
    FormCreate();
    Created();
}

void TForm3::FormCreate() {
    SetCaptionBar(main_.CaptionBarColors());
    // The list starts where the program is, as a directory list does; the
    // edit box keeps its own text until the list moves.
    if (tree_.SetDirectory(machine_.Files().CurrentDirectory())) ShowTree();
}

void TForm3::FormShow() {
    FillDrives();
    // A destination that does not exist yet leaves the list where it was
    // and the edit box as it is.
    OpenDirectory(Edit1.Text());
    SetActiveControl(&BitBtn1);
}

bool TForm3::OpenDirectory(const std::string& path) {
    const std::string before = tree_.Directory();
    if (!tree_.SetDirectory(path)) return false;
    ShowTree();
    if (tree_.Directory() != before) DirectoryListBox1Change();
    return true;
}

void TForm3::ShowTree() {
    showingTree_ = true;
    DirectoryListBox1.SetItems(tree_.Items());
    DirectoryListBox1.SetItemIndex(tree_.CurrentItem());
    const char drive =
        static_cast<char>(std::toupper(static_cast<unsigned char>(tree_.Directory()[0])));
    for (std::size_t i = 0; i < driveLetters_.size(); ++i) {
        if (driveLetters_[i] == drive) DriveComboBox1.SetItemIndex(static_cast<int>(i));
    }
    showingTree_ = false;
}

void TForm3::FillDrives() {
    driveLetters_.clear();
    std::vector<std::string> items;
    for (const platform::DriveInfo& drive : machine_.Files().Drives()) {
        driveLetters_.push_back(drive.letter);
        items.push_back(std::string(1, static_cast<char>(std::tolower(drive.letter))) + ":");
    }
    showingTree_ = true;
    DriveComboBox1.SetItems(std::move(items));
    showingTree_ = false;
    if (!tree_.Directory().empty()) ShowTree();
}

// A destination the installer would refuse is refused here already: the
// chooser stays open with the reason, and the wizard's choice is unchanged.
void TForm3::BitBtn1Click() {
    const std::string refusal = install::DestinationPolicy(machine_.Files(), machine_.SystemDirs())
                                    .RefusalFor(Edit1.Text());
    if (refusal.empty()) return;
    machine_.Ui().ShowMessage(refusal);
    SetModalResult(widgets::mrNone);
}

void TForm3::DirectoryListBox1Change() { Edit1.SetText(tree_.Directory()); }

void TForm3::DirectoryListBox1DblClick() {
    const int item = DirectoryListBox1.ItemIndex();
    if (item < 0) return;
    OpenDirectory(tree_.PathOf(static_cast<std::size_t>(item)));
}

void TForm3::DriveComboBox1Change() {
    if (showingTree_) return;
    const int item = DriveComboBox1.ItemIndex();
    if (item < 0) return;
    const std::string root =
        std::string(1, driveLetters_.at(static_cast<std::size_t>(item))) + ":\\";
    // A drive that cannot be read (no disk in it) keeps the list as it was.
    if (!OpenDirectory(root)) ShowTree();
}

}  // namespace kav::wizard
