#pragma once
// The wizard's install page as the engine's view: the two labels and the
// progress bar. The engine reports every file; a window that changed for
// each of a thousand files a second would spend more time painting than
// the install spends working, and nobody reads names that fast. So the
// page shows the latest state at most every few hundredths of a second,
// and whenever the engine asks for it (a step's end, a question).
#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "install/install_engine.h"
#include "widgets/controls.h"
#include "widgets/label.h"

namespace kav::wizard {

class InstallPageView final : public install::InstallView {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kSpacing{40};

    InstallPageView(widgets::Label& source, widgets::Label& dest, widgets::ProgressBar& bar,
                    Clock clock = std::chrono::steady_clock::now)
        : source_(source),
          dest_(dest),
          bar_(bar),
          clock_(std::move(clock)),
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
        const auto time = clock_();
        if (!now && shownOnce_ && time - shown_ < kSpacing) return;
        shownOnce_ = true;
        shown_ = time;
        source_.SetCaption(sourceText_);
        dest_.SetCaption(destText_);
        bar_.SetPosition(position_);
    }

    widgets::Label& source_;
    widgets::Label& dest_;
    widgets::ProgressBar& bar_;
    Clock clock_;
    std::string sourceText_;
    std::string destText_;
    int position_;
    bool shownOnce_ = false;
    std::chrono::steady_clock::time_point shown_{};
};

}  // namespace kav::wizard
