#include "widgets/image.h"

#include "widgets/canvas.h"
#include "widgets/form.h"

namespace kav::widgets {

Image::Image(std::string name) : GraphicControl(std::move(name)) {}

Image::~Image() { animation_.reset(); }

void Image::Paint(Canvas& canvas) const {
    if (!transparent_) canvas.FillRect(Bounds{0, 0, Width(), Height()}, GetColor());
    if (programIcon_) canvas.DrawProgramIcon(0, 0);
    if (picture_) canvas.DrawPicture(0, 0, *picture_, frame_);
}

void Image::ShowProgramIcon() {
    programIcon_ = true;
    picture_.reset();
    pictureFile_.clear();
    Restart();
    Changed(Property::Picture);
    AdjustSize();
}

void Image::LoadFromFile(platform::FileSystem& files, const std::string& path) {
    std::shared_ptr<const Picture> picture = LoadPictureFile(files, path);
    SetPicture(std::move(picture));
    pictureFile_ = path;
}

void Image::SetPicture(std::shared_ptr<const Picture> picture) {
    picture_ = std::move(picture);
    programIcon_ = false;
    pictureFile_.clear();
    Restart();
    Changed(Property::Picture);
    AdjustSize();
}

void Image::AdjustSize() {
    if (!autoSize_) return;
    if (picture_) {
        SetWidth(picture_->width);
        SetHeight(picture_->height);
    } else if (programIcon_) {
        SetWidth(kProgramIconSide);
        SetHeight(kProgramIconSide);
    }
}

void Image::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void Image::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed(Property::Transparent);
}

void Image::SetAnimate(bool animate) {
    if (animate == animate_) return;
    animate_ = animate;
    Restart();
}

void Image::Placed() {
    animation_ = std::make_unique<Timer>(*Owner(), Name() + ".animation", 0);
    animation_->SetBackground(true);
    animation_->OnTimer = [this] { NextFrame(); };
    Restart();
}

void Image::Unplaced() { animation_.reset(); }

// Back to the first frame; the timer runs while there is something to play.
void Image::Restart() {
    if (frame_ != 0) {
        frame_ = 0;
        Changed(Property::Frame);
    }
    playsLeft_ = picture_ ? picture_->repeats : 0;
    if (!animation_) return;
    const bool plays = animate_ && picture_ && picture_->frames.size() > 1;
    if (plays) animation_->SetInterval(picture_->frames.front().delayMs);
    animation_->SetEnabled(plays);
}

void Image::NextFrame() {
    if (!picture_ || !animate_) return;
    // A hidden picture waits on its frame.
    const bool shown = Owner() != nullptr && Owner()->Visible() && Showing();
    if (shown) {
        std::size_t next = frame_ + 1;
        if (next == picture_->frames.size()) {
            if (playsLeft_ == 0) return;  // played out: the last frame stays
            if (playsLeft_ > 0) --playsLeft_;
            next = 0;
        }
        frame_ = next;
        Changed(Property::Frame);
    }
    animation_->SetInterval(picture_->frames[frame_].delayMs);
    animation_->SetEnabled(true);
}

}  // namespace kav::widgets
