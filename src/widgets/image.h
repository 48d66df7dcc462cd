#pragma once
// A picture control: the program's own icon or a decoded picture file,
// drawn unscaled from its top-left corner. An animated picture plays its
// frames on a timer while it is shown, looping as the file says.
#include <memory>
#include <string>

#include "widgets/control.h"
#include "widgets/picture/picture.h"
#include "widgets/timer.h"

namespace kav::platform {
class FileSystem;
}

namespace kav::widgets {

class Image : public GraphicControl {
public:
    static constexpr int kProgramIconSide = 32;

    explicit Image(std::string name);
    ~Image() override;

    void Paint(Canvas& canvas) const override;

    bool ShowsProgramIcon() const { return programIcon_; }
    void ShowProgramIcon();
    // The file the picture came from, empty for none or the program icon.
    const std::string& PictureFile() const { return pictureFile_; }
    // Loads a GIF, BMP or ICO file; throws EInvalidGraphic naming the file
    // (the control keeps its previous picture then).
    void LoadFromFile(platform::FileSystem& files, const std::string& path);
    void SetPicture(std::shared_ptr<const Picture> picture);
    const Picture* GetPicture() const { return picture_.get(); }

    // Whether the control takes its picture's size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // An opaque picture control fills its area with its colour first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // Whether a picture of several frames plays them.
    bool Animate() const { return animate_; }
    void SetAnimate(bool animate);
    // The frame shown now.
    std::size_t Frame() const { return frame_; }

protected:
    void Placed() override;
    void Unplaced() override;

private:
    void AdjustSize();
    void Restart();
    void NextFrame();

    std::shared_ptr<const Picture> picture_;
    bool programIcon_ = false;
    std::string pictureFile_;
    bool autoSize_ = false;
    bool transparent_ = true;
    bool animate_ = false;
    std::size_t frame_ = 0;
    int playsLeft_ = 0;  // further runs through the frames; -1 for ever
    std::unique_ptr<Timer> animation_;
};

}  // namespace kav::widgets
