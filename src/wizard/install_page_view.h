#pragma once
// The wizard's install page as the engine's view: the two labels and the
// progress bar.
#include "install/install_engine.h"
#include "widgets/controls.h"
#include "widgets/label.h"

namespace kav::wizard {

class InstallPageView final : public install::InstallView {
public:
    InstallPageView(widgets::Label& source, widgets::Label& dest, widgets::ProgressBar& bar)
        : source_(source), dest_(dest), bar_(bar) {}

    void ShowSource(const std::string& text) override { source_.SetCaption(text); }
    void ShowDest(const std::string& text) override { dest_.SetCaption(text); }
    void SetProgressMax(int max) override {
        bar_.SetRange(0, max);
        bar_.SetPosition(0);
    }
    void StepProgress() override { bar_.SetPosition(bar_.Position() + 1); }

private:
    widgets::Label& source_;
    widgets::Label& dest_;
    widgets::ProgressBar& bar_;
};

}  // namespace kav::wizard
