#include "app/stages/wizard_player.h"

#include <memory>
#include <optional>

namespace kav::app {

std::string PageLine(const wizard::TKAV& kav) {
    const int page = kav.PageIndex();
    std::string line = "[" + kav.Caption() + "] page " + std::to_string(page) + " \"" +
                       wizard::TKAV::kPageNames[page] + "\"";
    if (page == wizard::kLicencePage) {
        for (const std::string& text : kav.Memo3.Lines()) {
            if (text.find_first_not_of(" \t") == std::string::npos) continue;
            line += ": " + text;
            break;
        }
    }
    return line;
}

namespace {

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::string ShortcutList(const widgets::CheckListBox& list) {
    std::string text;
    for (const auto& item : list.Items()) {
        if (!text.empty()) text += ", ";
        text += (item.checked ? "" : "-") + item.text;
    }
    return text;
}

}  // namespace

std::string ChoicesLine(const wizard::TKAV& kav, const setup::FinalChoice& choice) {
    const char* finish = choice.RadioButton1.Checked()   ? "launch"
                         : choice.RadioButton2.Checked() ? "return"
                                                         : "reboot";
    return "[" + kav.Caption() + "] Install: to \"" + kav.Label1.Caption() + "\"; " +
           (kav.min.Checked() ? "workstation" : "full") + "; folder \"" + kav.Shortcuts1.Folder +
           "\" start menu " + YesNo(kav.Shortcuts1.FolderStartMenu) + " desktop " +
           YesNo(kav.Shortcuts1.FolderDesktop) + "; desktop [" + ShortcutList(kav.DK) +
           "]; start menu [" + ShortcutList(kav.SM) + "]; finish " + finish;
}

void ReportWizardSteps(wizard::TKAV& kav, const setup::FinalChoice& choice,
                       WizardPlayer::Report report) {
    // A click may pass over pages on its way (a licence page without a
    // licence): only the page it lands on is reported.
    struct Seen {
        std::optional<int> page;
    };
    auto seen = std::make_shared<Seen>();
    const auto reportLanding = [&kav, seen, report] {
        if (!kav.Visible() || kav.InstallStarted() || seen->page == kav.PageIndex()) return;
        seen->page = kav.PageIndex();
        report(PageLine(kav));
    };
    kav.OnShow = [seen, reportLanding, previous = std::move(kav.OnShow)] {
        seen->page.reset();
        if (previous) previous();
        reportLanding();
    };
    for (widgets::Button* button : {&kav.next, &kav.back, &kav.accept}) {
        button->OnClick = [reportLanding, previous = std::move(button->OnClick)] {
            if (previous) previous();
            reportLanding();
        };
    }
    // Install hands the choices on as it turns to the progress page, just
    // before the engine starts.
    kav.Notebook1.OnPageChanged = [&kav, &choice, report,
                                   previous = std::move(kav.Notebook1.OnPageChanged)] {
        if (previous) previous();
        if (kav.PageIndex() == wizard::kProgressPage && kav.InstallStarted()) {
            report(ChoicesLine(kav, choice));
        }
    };
}

void WizardPlayer::PlayWizard(wizard::TKAV& kav) {
    // Every action leaves the page or closes the window; a page that stays
    // (a button that is not there) ends the play and the window is left to
    // be closed.
    while (kav.Visible() && !kav.InstallStarted()) {
        const int page = kav.PageIndex();
        ActOn(kav, page);
        if (kav.Visible() && kav.PageIndex() == page && !kav.InstallStarted()) {
            warn_("the wizard stayed on page " + std::to_string(page));
            return;
        }
    }
}

void WizardPlayer::ActOn(wizard::TKAV& kav, int page) {
    if (answers_.cancelAt == page) {
        kav.cancel.Click();
        return;
    }
    switch (page) {
        case wizard::kLicencePage:
            (answers_.decline ? kav.decline : kav.accept).Click();
            return;
        case wizard::kDestinationPage:
            if (answers_.directory) kav.browse.Click();
            break;
        case wizard::kFoldersPage:
            SetBox(kav.CheckBox1, answers_.startMenuFolder);
            SetBox(kav.CheckBox2, answers_.desktopFolder);
            DropIcons(kav);
            ChooseShortcuts(kav);
            break;
        case wizard::kInstallTypePage:
            if (answers_.workStation) kav.min.Click();
            if (answers_.fullInstall) kav.full.Click();
            break;
        case wizard::kReadyPage:
            // The folders page may have been passed over, with every
            // shortcut ticked when it was.
            DropIcons(kav);
            ChooseFinish(kav);
            kav.install.Click();
            if (answers_.cancelAt) {
                warn_("page " + std::to_string(*answers_.cancelAt) +
                      " was passed over; there was nowhere to cancel");
            }
            return;
        default:
            break;
    }
    kav.next.Click();
}

void WizardPlayer::SetBox(widgets::CheckBox& box, std::optional<bool> wanted) {
    if (wanted && box.Checked() != *wanted) box.Click();
}

void WizardPlayer::DropIcons(wizard::TKAV& kav) {
    if (!answers_.noIcons) return;
    kav.CheckBox1.SetChecked(false);
    kav.CheckBox2.SetChecked(false);
    for (widgets::CheckListBox* list : {&kav.DK, &kav.SM}) {
        for (std::size_t i = 0; i < list->Count(); ++i) list->SetChecked(i, false);
    }
}

void WizardPlayer::ChooseShortcuts(wizard::TKAV& kav) {
    for (const WizardAnswers::Shortcut& wanted : answers_.shortcuts) {
        bool found = false;
        for (widgets::CheckListBox* list : {&kav.DK, &kav.SM}) {
            const int index = list->IndexOf(wanted.name);
            if (index < 0) continue;
            found = true;
            const auto i = static_cast<std::size_t>(index);
            if (list->Checked(i) != wanted.ticked) list->Toggle(i);
        }
        if (!found) warn_("no shortcut named \"" + wanted.name + "\" is offered");
    }
}

void WizardPlayer::ChooseFinish(wizard::TKAV& kav) {
    if (!answers_.finish) return;
    const char* name = *answers_.finish == Finish::Launch   ? "RadioButton1"
                       : *answers_.finish == Finish::Return ? "RadioButton2"
                                                            : "reboot";
    auto& button = kav.Get<widgets::RadioButton>(name);
    if (!button.Showing() || !button.Enabled()) {
        warn_(std::string("the choice ") + name + " is not offered");
        return;
    }
    button.Click();
}

void WizardPlayer::Preselect(wizard::TKAV& kav) {
    if (answers_.directory) kav.Label1.SetCaption(*answers_.directory);
    if (answers_.workStation) kav.min.Click();
    if (answers_.fullInstall) kav.full.Click();
    ChooseFinish(kav);
}

void WizardPlayer::PlayChooser(wizard::TForm3& chooser) {
    if (!answers_.directory) return;
    chooser.Edit1.SetText(*answers_.directory);
    chooser.BitBtn1.Click();
}

}  // namespace kav::app
