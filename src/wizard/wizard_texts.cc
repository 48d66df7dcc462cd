#include "wizard/wizard_texts.h"

namespace kav::wizard {

const TextLines& WelcomeText() {
    static const TextLines lines = {
        "",
        "It is strongly recommended that you exit all windows programs",
        "before running this Setup program.",
        "",
        "Click Cancel to quit Setup and then close any programs you have",
        "running ( Re-Boot if Necessary ). Click Next continue with Setup",
        "Program.",
        "",
        "",
        "WARNING: This program is protected by copyright law and",
        "international treaties.",
        "",
        "Unauthorized reproduction or distribution of this program, or any",
        "portion of it, may result in severe civil and criminal penalties,",
        "and will be prosecuted to the maximum extent possible under law.",
    };
    return lines;
}

const TextLines& DestinationText() {
    static const TextLines lines = {
        "Setup will now install Software into the following directory",
        "",
        "To install to this directory, click next.",
        "",
        "To install to different directory, click browse and select ",
        "another",
        "directory.",
        "",
        "you can choose not to install by clicking cancel.",
    };
    return lines;
}

const TextLines& ChooserText() {
    static const TextLines lines = {
        "Double click on directory to open folder or type ",
        "directory location in box bellow.",
        "",
        "if directory does not exists it will automaticaly be",
        "created.",
    };
    return lines;
}

const TextLines& LicencePlaceholder() {
    static const TextLines lines = {
        "License Agreement",
        "",
        "The licence text of the installation set is shown here.",
    };
    return lines;
}

}  // namespace kav::wizard
