#pragma once
// The wizard's install page as the engine's view: the two labels and the
// progress bar. The engine reports every file; the page shows the latest
// state spaced in time, and whenever the engine asks for it (a step's end,
// a question).
#include <string>
#include <utility>

#include "install/install_engine.h"
#include "widgets/controls.h"
#include "widgets/label.h"
#include "widgets/update_spacing.h"

namespace kav::wizard {

class InstallPageView final : public install::InstallView {
public:
    using Clock = widgets::UpdateSpacing::Clock;
    static constexpr auto kSpacing = widgets::UpdateSpacing::kSpacing;

    InstallPageView(widgets::Label& source, widgets::Label& dest, widgets::ProgressBar& bar,
                    Clock clock = std::chrono::steady_clock::now)
        : source_(source),
          dest_(dest),
          bar_(bar),
          spacing_(std::move(clock)),
          sourceText_(source.Caption()),
          destText_(dest.Caption()),
          position_(bar.Position()) {}

    void ShowSource(const std::string& text) override {
        sourceText_ = text;
        Show(false);
    }
    void ShowDest(const std::string& text) override {
        destText_ = text;
        Show(false);
    }
    void SetProgressMax(int max) override {
        bar_.SetRange(0, max);
        position_ = 0;
        bar_.SetPosition(0);
    }
    void StepProgress() override {
        ++position_;
        Show(false);
    }
    void Flush() override { Show(true); }

private:
    void Show(bool now) {
        if (!spacing_.Due(now)) return;
        source_.SetCaption(sourceText_);
        dest_.SetCaption(destText_);
        bar_.SetPosition(position_);
    }

    widgets::Label& source_;
    widgets::Label& dest_;
    widgets::ProgressBar& bar_;
    widgets::UpdateSpacing spacing_;
    std::string sourceText_;
    std::string destText_;
    int position_;
};

}  // namespace kav::wizard
