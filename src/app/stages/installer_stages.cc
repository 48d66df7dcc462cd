#include "app/stages/installer_stages.h"

namespace kav::app {

void InstallerStages::CreateWindows(setup::TMainSetup& mainScreen) {
    form3_ = std::make_unique<wizard::TForm3>(backend_, machine_, mainScreen);
    kav_ = std::make_unique<wizard::TKAV>(backend_, machine_, run_, mainScreen, *form3_);
    unzip_ = std::make_unique<expansion::TUnzip>(backend_, machine_, run_, mainScreen);
}

void InstallerStages::RunWizard() {
    if (kav_) kav_->ShowModal();
}

void InstallerStages::SkipWelcomePage() {
    if (kav_) kav_->nextClick();
}

void InstallerStages::PrepareWindows() {
    if (unzip_) unzip_->Prepare();
    if (kav_) kav_->Prepare();
}

void InstallerStages::RunExpansion() {
    if (!unzip_) return;
    unzip_->ShowModal();
    expansionError_ = unzip_->LastError();
    unzip_.reset();
}

}  // namespace kav::app
