#include "app/stages/installer_stages.h"

namespace kav::app {

void InstallerStages::CreateWindows(setup::TMainSetup& mainScreen) {
    unzip_ = std::make_unique<archive::TUnzip>(backend_, machine_, run_, mainScreen);
}

void InstallerStages::RunExpansion() {
    if (!unzip_) return;
    unzip_->ShowModal();
    expansionError_ = unzip_->LastError();
    unzip_.reset();
}

}  // namespace kav::app
