#pragma once
// TForm3: the directory chooser that the wizard's Browse opens. It only
// edits a path, typed into Edit1 or picked from the directory list; the
// wizard decides whether the choice is taken.
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/lists.h"
#include "wizard/directory_tree.h"

namespace kav::wizard {

class TForm3 : public widgets::Form {
public:
    TForm3(widgets::Backend& backend, platform::Machine& machine, setup::TMainSetup& mainScreen);

    // Event handlers.
    void FormCreate();
    void FormShow();
    void BitBtn1Click();
    void DirectoryListBox1Change();
    void DirectoryListBox1DblClick();
    void DriveComboBox1Change();

    // The directory the list shows.
    const std::string& ListDirectory() const { return tree_.Directory(); }
    // Moves the list to `path` (as a double click or a drive choice does);
    // false, and the list unchanged, when it cannot be entered.
    bool OpenDirectory(const std::string& path);

    widgets::GroupBox& GroupBox1;
    widgets::Memo& Memo1;
    widgets::Label& Label1;
    widgets::Edit& Edit1;
    widgets::Label& Label2;
    widgets::ListBox& DirectoryListBox1;
    widgets::Label& Label3;
    widgets::ComboBox& DriveComboBox1;
    widgets::Button& BitBtn1;
    widgets::Button& BitBtn2;

private:
    void ShowTree();
    void FillDrives();

    platform::Machine& machine_;
    setup::TMainSetup& main_;
    DirectoryTree tree_;
    std::vector<char> driveLetters_;
    bool showingTree_ = false;
};

}  // namespace kav::wizard
