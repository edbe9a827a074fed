// The box walk of the header operation: every box met is written into the
// structure text at its depth; the boxes the parser knows are read into the
// state. Then the video codec is decided.
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "containers/mp4/mp4_format.h"
#include "containers/mp4/mp4_parser.h"

namespace tavimor::mp4 {

namespace {

constexpr uint32_t kVideoHandler = fourcc("vide");
constexpr uint32_t kAudioHandler = fourcc("soun");
constexpr int kUnknownDepth = -1;  // a box the parent does not list: one below the parent

// Where a box sits, which decides the children a walk recognises.
enum class Parent {
    kFile,
    kMovie,
    kTrack,
    kEdits,
    kMedia,
    kMediaInformation,
    kDataInformation,
    kSampleTable,
    kSampleDescription,
    kVisualEntry,
    kAudioEntry,
};

// What the walk does with a recognised box.
enum class Action {
    kFields,        // content read whole, field lines written
    kSkip,          // header lines only
    kContainer,     // children walked
    kTrack,         // a new track, its children walked
    kDescriptions,  // the sample description: entry count, then one sample entry per entry
    kVisualEntry,   // a video sample entry and its boxes
    kAudioEntry,    // an audio sample entry and its boxes
};

struct Rule {
    uint32_t type;
    int depth;
    Action action;
    Parent children;  // for containers: the kind of parent they are
};

constexpr Rule kFileRules[] = {
    {fourcc("ftyp"), 0, Action::kFields, Parent::kFile},
    {fourcc("moov"), 0, Action::kContainer, Parent::kMovie},
    {fourcc("mdat"), 0, Action::kSkip, Parent::kFile},
    {fourcc("udta"), 0, Action::kSkip, Parent::kFile},
    {fourcc("free"), 0, Action::kSkip, Parent::kFile},
};
constexpr Rule kMovieRules[] = {
    {fourcc("mvhd"), 1, Action::kFields, Parent::kFile},
    {fourcc("iods"), 1, Action::kSkip, Parent::kFile},
    {fourcc("trak"), 1, Action::kTrack, Parent::kTrack},
    {fourcc("udta"), 0, Action::kSkip, Parent::kFile},
    {fourcc("drm "), 0, Action::kSkip, Parent::kFile},
};
constexpr Rule kTrackRules[] = {
    {fourcc("tkhd"), 2, Action::kFields, Parent::kFile},
    {fourcc("tref"), 0, Action::kSkip, Parent::kFile},
    {fourcc("edts"), 2, Action::kContainer, Parent::kEdits},
    {fourcc("mdia"), 2, Action::kContainer, Parent::kMedia},
    {fourcc("udta"), 0, Action::kSkip, Parent::kFile},
};
constexpr Rule kEditsRules[] = {
    {fourcc("elst"), 3, Action::kFields, Parent::kFile},
};
constexpr Rule kMediaRules[] = {
    {fourcc("mdhd"), 3, Action::kFields, Parent::kFile},
    {fourcc("hdlr"), 3, Action::kFields, Parent::kFile},
    {fourcc("minf"), 3, Action::kContainer, Parent::kMediaInformation},
};
constexpr Rule kMediaInformationRules[] = {
    {fourcc("vmhd"), 4, Action::kFields, Parent::kFile},
    {fourcc("smhd"), 4, Action::kFields, Parent::kFile},
    {fourcc("nmhd"), 0, Action::kSkip, Parent::kFile},
    {fourcc("dinf"), 4, Action::kContainer, Parent::kDataInformation},
    {fourcc("stbl"), 4, Action::kContainer, Parent::kSampleTable},
};
constexpr Rule kDataInformationRules[] = {
    {fourcc("dref"), 5, Action::kFields, Parent::kFile},
};
constexpr Rule kSampleTableRules[] = {
    {fourcc("stsd"), 5, Action::kDescriptions, Parent::kSampleDescription},
    {fourcc("stts"), 5, Action::kFields, Parent::kFile},
    {fourcc("ctts"), 5, Action::kFields, Parent::kFile},
    {fourcc("stsz"), 5, Action::kFields, Parent::kFile},
    {fourcc("stsc"), 5, Action::kFields, Parent::kFile},
    {fourcc("stco"), 5, Action::kFields, Parent::kFile},
    {fourcc("stss"), 5, Action::kFields, Parent::kFile},
    {fourcc("sdtp"), 5, Action::kFields, Parent::kFile},
};
constexpr Rule kVideoEntryRules[] = {
    {fourcc("avc1"), 6, Action::kVisualEntry, Parent::kVisualEntry},
    {fourcc("mp4v"), 6, Action::kVisualEntry, Parent::kVisualEntry},
    {fourcc("s263"), 6, Action::kVisualEntry, Parent::kVisualEntry},
};
constexpr Rule kAudioEntryRules[] = {
    {fourcc("samr"), 6, Action::kAudioEntry, Parent::kAudioEntry},
    {fourcc("mp4a"), 6, Action::kAudioEntry, Parent::kAudioEntry},
};
constexpr Rule kVisualEntryRules[] = {
    {fourcc("avcC"), 7, Action::kFields, Parent::kFile},
    {fourcc("btrt"), 7, Action::kFields, Parent::kFile},
    {fourcc("esds"), 7, Action::kFields, Parent::kFile},
};
constexpr Rule kAudioEntryBoxRules[] = {
    {fourcc("esds"), 0, Action::kFields, Parent::kFile},
    {fourcc("damr"), 0, Action::kFields, Parent::kFile},
};

template <size_t n>
const Rule* find(const Rule (&rules)[n], uint32_t type) {
    for (const Rule& rule : rules)
        if (rule.type == type) return &rule;
    return nullptr;
}

// The rule for a box of the type under the parent, or null when the parent
// does not list it. Sample entries depend on the track's handler.
const Rule* rule_for(Parent parent, uint32_t type, const Track& track) {
    switch (parent) {
        case Parent::kFile:
            return find(kFileRules, type);
        case Parent::kMovie:
            return find(kMovieRules, type);
        case Parent::kTrack:
            return find(kTrackRules, type);
        case Parent::kEdits:
            return find(kEditsRules, type);
        case Parent::kMedia:
            return find(kMediaRules, type);
        case Parent::kMediaInformation:
            return find(kMediaInformationRules, type);
        case Parent::kDataInformation:
            return find(kDataInformationRules, type);
        case Parent::kSampleTable:
            return find(kSampleTableRules, type);
        case Parent::kSampleDescription:
            if (track.handler_type == kVideoHandler) return find(kVideoEntryRules, type);
            if (track.handler_type == kAudioHandler) return find(kAudioEntryRules, type);
            return nullptr;
        case Parent::kVisualEntry:
            return find(kVisualEntryRules, type);
        case Parent::kAudioEntry:
            return find(kAudioEntryBoxRules, type);
    }
    return nullptr;
}

struct Box {
    int64_t start = 0;
    uint32_t size = 0;
    uint32_t type = 0;
    // Where the content ends: the box's end, or its parent's when that comes
    // first. Nothing of the box is read beyond it.
    int64_t limit = 0;

    int64_t content() const { return start + 8; }
    int64_t end() const { return start + size; }
    int64_t content_size() const { return std::max<int64_t>(0, limit - content()); }
};

// Boxes whose entries run to their end; of the others no more than
// kFieldsRead bytes are read (beyond them lies nothing the fields need).
bool has_entries(uint32_t type) {
    constexpr uint32_t kListed[] = {fourcc("stts"), fourcc("ctts"), fourcc("stsz"), fourcc("stsc"),
                                    fourcc("stco"), fourcc("stss"), fourcc("sdtp"), fourcc("elst"),
                                    fourcc("dref"), fourcc("avcC")};
    for (uint32_t listed : kListed)
        if (type == listed) return true;
    return false;
}
constexpr int64_t kFieldsRead = 1 << 16;

// Sizes of the sample entries' fixed fields before their boxes.
constexpr size_t kVisualEntryFields = 78;
constexpr size_t kAudioEntryFields = 28;

class BoxWalk {
  public:
    BoxWalk(DemuxerContext& context, Mp4State& state)
        : context_(context),
          state_(state),
          in_(context.input),
          text_(context.structure_text),
          messages_(context.messages) {}

    void walk_file() {
        Track none;
        walk(Parent::kFile, kUnknownDepth, 0, context_.input_size, none,
             std::numeric_limits<uint64_t>::max());
    }

  private:
    // Walks the boxes from `from` up to `limit`, at most `most` of them.
    void walk(Parent parent, int parent_depth, int64_t from, int64_t limit, Track& track,
              uint64_t most) {
        int64_t at = from;
        for (uint64_t seen = 0; seen < most && at < limit; ++seen) {
            Box box;
            if (!read_header(at, limit, box)) return;
            const Rule* rule = rule_for(parent, box.type, track);
            // Only the listed boxes are walked at the top level.
            if (!rule && parent == Parent::kFile) return;
            header_lines(rule ? rule->depth : parent_depth + 1, box);
            if (box.size < 8) return;  // no content, and no way on
            if (rule) handle(*rule, box, track);
            at = box.end();
        }
    }

    bool read_header(int64_t at, int64_t limit, Box& box) {
        uint8_t bytes[8];
        if (limit - at < 8 || !read_at(at, bytes, sizeof bytes)) return false;
        FieldReader fields(bytes, sizeof bytes);
        box.start = at;
        box.size = fields.u32();
        box.type = fields.u32();
        box.limit = std::min(box.end(), limit);
        return true;
    }

    void header_lines(int depth, const Box& box) {
        const std::string type = fourcc_text(box.type);
        text_.line(depth, "%s\n", type.c_str());
        text_.line(depth + 1, "size = %u\n", box.size);
        text_.line(depth + 1, "type = %s\n", type.c_str());
    }

    void handle(const Rule& rule, const Box& box, Track& track) {
        switch (rule.action) {
            case Action::kSkip:
                return;
            case Action::kFields: {
                const int64_t wanted = has_entries(box.type) ? box.content_size() : kFieldsRead;
                FieldReader fields = read_content(box, wanted);
                parse_fields(box.type, fields,
                             FieldsTarget{state_, track, text_, messages_, rule.depth + 1});
                // The tables keep what they need: a large box's bytes are not held on to.
                if (state_.content.size() > kFieldsRead) state_.content = {};
                return;
            }
            case Action::kContainer:
                walk(rule.children, rule.depth, box.content(), box.limit, track,
                     std::numeric_limits<uint64_t>::max());
                return;
            case Action::kTrack:
                return new_track(rule, box);
            case Action::kDescriptions:
                return sample_descriptions(rule, box, track);
            case Action::kVisualEntry:
                return visual_entry(rule, box, track);
            case Action::kAudioEntry:
                return audio_entry(rule, box, track);
        }
    }

    void new_track(const Rule& rule, const Box& box) {
        // Tracks beyond the tenth are written but not kept.
        Track ignored;
        Track& track =
            state_.track_count < kMaxTracks ? state_.tracks[state_.track_count++] : ignored;
        walk(rule.children, rule.depth, box.content(), box.limit, track,
             std::numeric_limits<uint64_t>::max());
    }

    void sample_descriptions(const Rule& rule, const Box& box, Track& track) {
        FieldReader fields = read_content(box, 8);
        fields.skip(4);
        const uint32_t count = fields.u32();
        if (!fields.ok()) return;
        text_.line(rule.depth + 1, "entry_count = %u\n", count);
        if (track.handler_type != kVideoHandler)
            text_.line(rule.depth + 1, "soun and hint are not supported\n");
        walk(rule.children, rule.depth, box.content() + 8, box.limit, track, count);
    }

    // The first sample entry the track's handler knows gives its kind and
    // properties; later ones are written only.
    void visual_entry(const Rule& rule, const Box& box, Track& track) {
        FieldReader fields = read_content(box, kVisualEntryFields);
        fields.skip(6);
        const unsigned data_reference_index = fields.u16();
        fields.skip(16);
        const unsigned width = fields.u16();
        const unsigned height = fields.u16();
        const uint32_t horizontal = fields.u32();
        const uint32_t vertical = fields.u32();
        fields.skip(4);
        const unsigned frame_count = fields.u16();
        const unsigned name_length = std::min(fields.u8(), uint8_t{31});
        const uint8_t* name = fields.take(31);
        const int depth = static_cast<int16_t>(fields.u16());
        fields.skip(2);
        if (!fields.ok()) return;
        const std::string compressor = text_of(name, name_length);
        const bool avc = box.type == fourcc("avc1");
        if (avc) {
            const int d = rule.depth + 1;
            text_.line(d, "data_reference_index = %u\n", data_reference_index);
            text_.line(d, "width = %u\n", width);
            text_.line(d, "height = %u\n", height);
            text_.line(d, "horizresolution = %#x\n", horizontal);
            text_.line(d, "vertresolution = %#x\n", vertical);
            text_.line(d, "frame_count = %u\n", frame_count);
            text_.line(d, "compressorname = %s\n", compressor.c_str());
            text_.line(d, "depth = %d\n", depth);
        }
        Track unused;
        Track& target = track.entry_kind == EntryKind::kNone ? track : unused;
        target.entry_kind = avc ? EntryKind::kH264 : EntryKind::kMpeg4Visual;
        target.width = width;
        target.height = height;
        target.horizontal_resolution = horizontal;
        target.vertical_resolution = vertical;
        target.compressor = compressor;
        walk(rule.children, rule.depth, box.content() + kVisualEntryFields, box.limit, target,
             std::numeric_limits<uint64_t>::max());
    }

    void audio_entry(const Rule& rule, const Box& box, Track& track) {
        FieldReader fields = read_content(box, kAudioEntryFields);
        fields.skip(8);
        const unsigned version = fields.u16();
        fields.skip(6);
        const unsigned channels = fields.u16();
        fields.skip(6);
        const uint32_t sample_rate = fields.u32();
        if (!fields.ok()) return;
        Track unused;
        Track& target = track.entry_kind == EntryKind::kNone ? track : unused;
        target.entry_kind = EntryKind::kAudio;
        target.channels = channels;
        target.sample_rate = sample_rate;
        // Sound descriptions of versions 1 and 2 carry more fields before their boxes.
        const int64_t more = version == 1 ? 16 : version == 2 ? 36 : 0;
        walk(rule.children, rule.depth, box.content() + kAudioEntryFields + more, box.limit, target,
             std::numeric_limits<uint64_t>::max());
    }

    // The first `size` bytes of the box's content (fewer when it has fewer).
    FieldReader read_content(const Box& box, int64_t size) {
        const size_t wanted = static_cast<size_t>(std::min(size, box.content_size()));
        std::vector<uint8_t>& content = state_.content;
        if (content.size() < wanted) content.resize(wanted);
        return FieldReader(content.data(), read_some(box.content(), content.data(), wanted));
    }

    // Reads up to size bytes at the offset; the number read.
    size_t read_some(int64_t offset, uint8_t* bytes, size_t size) {
        if (size == 0 || fseeko(in_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
        return std::fread(bytes, 1, size, in_);
    }
    bool read_at(int64_t offset, uint8_t* bytes, size_t size) {
        return read_some(offset, bytes, size) == size;
    }

    DemuxerContext& context_;
    Mp4State& state_;
    std::FILE* in_;
    StructureText text_;
    std::FILE* messages_;
};

// The video track: the first H.264 one, else the first MPEG-4 visual one.
int find_video_track(const Mp4State& state) {
    for (EntryKind kind : {EntryKind::kH264, EntryKind::kMpeg4Visual})
        for (int i = 0; i < state.track_count; ++i)
            if (state.tracks[i].entry_kind == kind) return i;
    return -1;
}

}  // namespace

int parse_boxes(DemuxerContext& context) {
    auto& state = static_cast<Mp4State&>(*context.state);
    BoxWalk(context, state).walk_file();
    std::rewind(context.input);

    state.video_track = find_video_track(state);
    const EntryKind kind =
        state.video_track < 0 ? EntryKind::kNone : state.tracks[state.video_track].entry_kind;
    if (kind == EntryKind::kMpeg4Visual) {
        state.codec = CodecKind::kMpeg4Visual;
        warn_codec(context, "Unsupported codec(MP4V), skipping");
    } else if (kind == EntryKind::kH264) {
        state.codec = CodecKind::kH264;
        // The output path is asked for once in the program's lifetime; later
        // runs write into the raw output.
        if (take_output_question() && !switch_to_codec_output(context, kFoundH264))
            return kFormatFailed;
    } else {
        std::fputs("\nInput stream doesn't have either mpeg4 OR H264 video stream \n",
                   context.messages);
        warn_codec(context, "Unsupported codec, skipping");
    }
    return kFormatOk;
}

}  // namespace tavimor::mp4
