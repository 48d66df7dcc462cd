#pragma once
// TSegCompEZ: the one-call form of the segment reader. It owns the list of
// archive descriptors and reports the archives' templates after expanding.
#include <string>
#include <vector>

#include "archive/seg_compress.h"

namespace kav::archive {

enum TBuildMode { bmFlat = 0, bmRecursive = 1 };

class TSegCompEZ : public TSegCompress {
public:
    TSegCompEZ(platform::FileSystem& files, platform::Gui& gui,
               platform::Processor* processor = nullptr);

    // These three configure the building of sets; expansion ignores them.
    TBuildMode SegBuildMode = bmRecursive;
    TCompressionMethod SegCompType = coLZH;
    bool SegMultiArc = false;

    std::vector<std::string>& SegSource() { return segSource_; }
    void SetSegSource(const std::vector<std::string>& lines) { segSource_ = lines; }
    TSegArcList& SegArcList() { return segArcList_; }

    // Expands the whole set, each archive below its own directory, and fills
    // SegSource with the archives' templates.
    void ExpandAll();

private:
    TSegArcList segArcList_;
    std::vector<std::string> segSource_;
};

}  // namespace kav::archive
