#include "common/graphics/jpeg_bounds.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr uint64_t kCoefficientsPerFileByte = 1024;

struct ScanLimit {
    jpeg_progress_mgr base;
    bool (*stopRequested)();
};

// Called before every piece of input the library takes in and every row it
// puts out, so a file of many short scans is stopped at the first one past
// the limit.
void StopAfterTooManyScans(j_common_ptr common) {
    if (!common->is_decompressor) return;
    const auto* limit = reinterpret_cast<const ScanLimit*>(common->progress);
    if (limit->stopRequested && limit->stopRequested()) (*common->err->error_exit)(common);
    if (reinterpret_cast<j_decompress_ptr>(common)->input_scan_number <= kMaxJpegScans) return;
    common->err->msg_code = JERR_BAD_PROGRESSION;
    (*common->err->error_exit)(common);
}

}  // namespace

uint64_t JpegCoefficientBytes(const jpeg_decompress_struct& info) {
    uint64_t bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& comp = info.comp_info[c];
        const uint64_t h = static_cast<uint64_t>(comp.h_samp_factor), v = static_cast<uint64_t>(comp.v_samp_factor);
        const uint64_t wide = (comp.width_in_blocks + h - 1) / h * h;
        const uint64_t high = (comp.height_in_blocks + v - 1) / v * v;
        bytes += wide * high * sizeof(JBLOCK);
    }
    return bytes;
}

uint64_t JpegHeldCoefficientBytes(jpeg_decompress_struct& info) {
    return jpeg_has_multiple_scans(&info) ? JpegCoefficientBytes(info) : 0;
}

bool JpegFileCanHold(uint64_t coefficientBytes, uint64_t fileBytes) {
    return coefficientBytes <= kJpegDecoderMemory || coefficientBytes / kCoefficientsPerFileByte <= fileBytes;
}

void LimitJpegScans(jpeg_decompress_struct& info, bool (*stopRequested)()) {
    // From the library's own pool, so that it goes with the decompressor on
    // every exit, a longjmp included.
    auto* limit = static_cast<ScanLimit*>((*info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&info),
                                                                     JPOOL_PERMANENT, sizeof(ScanLimit)));
    std::memset(limit, 0, sizeof(*limit));
    limit->base.progress_monitor = StopAfterTooManyScans;
    limit->stopRequested = stopRequested;
    info.progress = &limit->base;
}
