#include "archive/set_reader.h"

namespace kav::archive {

TSegCompEZ::TSegCompEZ(platform::FileSystem& files, platform::Gui& gui,
                       platform::Processor* processor)
    : TSegCompress(files, gui, processor) {}

void TSegCompEZ::ExpandAll() {
    SetTargetPath("");
    ExpandSegments(segArcList_);
    segSource_.clear();
    for (std::size_t i = 0; i < segArcList_.Count(); ++i) {
        segSource_.push_back(segArcList_[i].Template);
    }
    SetTargetPath("");
}

}  // namespace kav::archive
