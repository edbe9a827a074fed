#include "vp8module/picture_store.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "shell/shell_services.h"
#include "vp8module/fatal_error.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

uint32_t pack_reference_numbers(const vp8::FrameAnalysisRecord& record) {
    return record.unused | (record.last_frame_number << 8) | (record.golden_frame_number << 16) |
           (static_cast<uint32_t>(record.altref_frame_number) << 24);
}

// Moves `length` bytes of a file from `from` down to `to` (to <= from).
bool move_down(int fd, int64_t from, int64_t to, int64_t length) {
    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(length, int64_t{1} << 20)));
    for (int64_t done = 0; done < length;) {
        const auto chunk = static_cast<size_t>(std::min<int64_t>(length - done, buffer.size()));
        if (::pread(fd, buffer.data(), chunk, from + done) != static_cast<ssize_t>(chunk) ||
            ::pwrite(fd, buffer.data(), chunk, to + done) != static_cast<ssize_t>(chunk))
            return false;
        done += static_cast<int64_t>(chunk);
    }
    return true;
}

// The decoder wrote the picture's analysis at the end of each analysis file
// (after those of frames not shown): the piece moves to the place the budget
// gave it, and the file ends where its pieces in use end.
bool settle_analysis_piece(std::FILE* file, int64_t& position, const StoredPiece& place,
                           int64_t end) {
    if (!file) return true;
    if (std::fflush(file) != 0) return false;
    const int fd = ::fileno(file);
    if (place.offset != position && !move_down(fd, position, place.offset, place.length))
        return false;
    position = place.offset;
    return ::ftruncate(fd, end) == 0 && std::fseek(file, 0, SEEK_END) == 0;
}

void fill_entry(FrameTableEntry& entry, const Vp8ModuleState& state,
                const vp8::FrameAnalysisRecord& record, const StoredPieces& pieces) {
    for (int n = 0; n < 3; ++n) entry.cache_offset[n] = pieces[n].offset;
    entry.header_text_offset = record.trace_position;
    entry.header_text_length = record.trace_length;
    entry.mbinfo_offset = record.mbinfo_position;
    entry.coef_offset = record.coef_position;
    entry.coef_length = record.coef_length;
    entry.frame_position = state.frame_position;
    entry.frame_size = state.frame_size;
    entry.reference_numbers = pack_reference_numbers(record);
    entry.frame_flags = (state.summary.frame_type & 1) | (state.summary.segmentation_enabled << 1);
    entry.filter_level = state.summary.filter_level;
    entry.filter_type = state.summary.filter_type;
    entry.picture_width = record.final_picture.width;
    entry.picture_height = record.final_picture.height;
    entry.dropped = 0;
}

}  // namespace

void store_picture(Vp8ModuleState& state, vp8::FrameAnalysisRecord& record, int index) {
    FrameTable* table = shell_services().frame_table.get();
    const vp8::PlanarPicture* const pictures[3] = {&record.final_picture, &record.prelf_picture,
                                                   &record.predicted_picture};
    PieceLengths lengths{};
    for (int n = 0; n < 3; ++n) lengths[n] = PictureCache::bytes_of(*pictures[n]);
    lengths[kHeaderTrace] = record.trace_length;
    lengths[kMbInfo] = record.mbinfo_length;
    lengths[kCoefficients] = record.coef_length;
    int64_t needed = 0;
    for (int64_t length : lengths) needed += length;
    for (int dropped : state.space.make_room(needed, index))
        if (table) table->drop(static_cast<size_t>(dropped));
    const StoredPieces pieces = state.space.store(index, lengths);

    int64_t offsets[3], ends[3];
    for (int n = 0; n < 3; ++n) {
        offsets[n] = pieces[n].offset;
        ends[n] = state.space.end(n);
    }
    if (!state.cache.store(pictures, offsets) || !state.cache.truncate(ends))
        stop_on_working_files("Failed to write the picture cache");
    if (state.analysis) {
        const vp8::AnalysisContext& files = *state.analysis;
        if (!settle_analysis_piece(files.trace_file, record.trace_position, pieces[kHeaderTrace],
                                   state.space.end(kHeaderTrace)) ||
            !settle_analysis_piece(files.mbinfo_file, record.mbinfo_position, pieces[kMbInfo],
                                   state.space.end(kMbInfo)) ||
            !settle_analysis_piece(files.coef_file, record.coef_position, pieces[kCoefficients],
                                   state.space.end(kCoefficients)))
            stop_on_working_files("Failed to write the analysis files");
    }
    // What the readers buffered, and the records read, may have been overwritten.
    for (std::FILE* reader : {state.header_text_reader, state.mbinfo_reader})
        if (reader) std::fflush(reader);
    state.records_position = -1;
    state.header_tree_position = -1;
    if (table) fill_entry(table->fill(static_cast<size_t>(index)), state, record, pieces);
}

}  // namespace tavimor
