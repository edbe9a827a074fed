// The field lines of the boxes read whole, and what the parser keeps of them.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "containers/mp4/mp4_parser.h"

namespace tavimor::mp4 {

namespace {

using Target = FieldsTarget;

void matrix_line(const Target& t, const uint32_t (&matrix)[9]) {
    t.text.line(t.depth, "matrix = ");
    for (uint32_t value : matrix) t.text.more("%x, ", value);
    t.text.more("\n");
}

void read_matrix(FieldReader& r, uint32_t (&matrix)[9]) {
    for (uint32_t& value : matrix) value = r.u32();
}

void ftyp(FieldReader& r, const Target& t) {
    const uint32_t major = r.u32();
    const uint32_t minor = r.u32();
    if (!r.ok()) return;
    t.state.major_brand = major;
    t.state.minor_version = minor;
    t.state.compatible_brands.clear();
    while (r.left() >= 4 && t.state.compatible_brands.size() < kMaxBrands)
        t.state.compatible_brands.push_back(r.u32());
    t.text.line(t.depth, "major_brand = %s\n", fourcc_text(major).c_str());
    t.text.line(t.depth, "minor_version = %u\n", minor);
}

void mvhd(FieldReader& r, const Target& t) {
    const unsigned version = r.u8();
    const unsigned flags = r.u24();
    const bool wide = version == 1;
    const unsigned long long creation = r.sized(wide);
    const unsigned long long modification = r.sized(wide);
    const uint32_t timescale = r.u32();
    const unsigned long long duration = r.sized(wide);
    const uint32_t rate = r.u32();
    const unsigned volume = r.u16();
    r.skip(10);
    uint32_t matrix[9];
    read_matrix(r, matrix);
    r.skip(24);
    const uint32_t next_track = r.u32();
    if (!r.ok()) return;
    t.state.timescale = timescale;
    t.state.duration = duration;
    t.text.line(t.depth, "version = %u\n", version);
    t.text.line(t.depth, "flags = %u\n", flags);
    t.text.line(t.depth, "creation_time = %llu\n", creation);
    t.text.line(t.depth, "modification_time = %llu\n", modification);
    t.text.line(t.depth, "timescale = %u\n", timescale);
    t.text.line(t.depth, "duration = %llu\n", duration);
    t.text.line(t.depth, "rate = %x\n", rate);
    t.text.line(t.depth, "volume = %x\n", volume);
    matrix_line(t, matrix);
    t.text.line(t.depth, "next_track_ID = %u\n", next_track);
}

void tkhd(FieldReader& r, const Target& t) {
    const unsigned version = r.u8();
    const unsigned flags = r.u24();
    const bool wide = version == 1;
    const unsigned long long creation = r.sized(wide);
    const unsigned long long modification = r.sized(wide);
    const uint32_t track_id = r.u32();
    r.skip(4);
    const unsigned long long duration = r.sized(wide);
    r.skip(8);
    const int layer = static_cast<int16_t>(r.u16());
    const int alternate_group = static_cast<int16_t>(r.u16());
    const int volume = static_cast<int16_t>(r.u16());
    r.skip(2);
    uint32_t matrix[9];
    read_matrix(r, matrix);
    // 16.16 fixed point: the whole pixels.
    const uint32_t width = r.u32() >> 16;
    const uint32_t height = r.u32() >> 16;
    if (!r.ok()) return;
    t.text.line(t.depth, "version = %u\n", version);
    t.text.line(t.depth, "flags = %u\n", flags);
    t.text.line(t.depth, "creation_time = %llu\n", creation);
    t.text.line(t.depth, "modification_time = %llu\n", modification);
    t.text.line(t.depth, "track_ID = %u\n", track_id);
    t.text.line(t.depth, "duration = %llu\n", duration);
    t.text.line(t.depth, "layer = %d\n", layer);
    t.text.line(t.depth, "alternate_group = %d\n", alternate_group);
    t.text.line(t.depth, "volume = %d\n", volume);
    t.text.line(t.depth, "width = %u\n", width);
    t.text.line(t.depth, "height = %u\n", height);
    matrix_line(t, matrix);
}

void mdhd(FieldReader& r, const Target& t) {
    const bool wide = r.u8() == 1;
    r.skip(3);
    const unsigned long long creation = r.sized(wide);
    const unsigned long long modification = r.sized(wide);
    const uint32_t timescale = r.u32();
    const unsigned long long duration = r.sized(wide);
    const unsigned packed = r.u16();
    if (!r.ok()) return;
    // Three letters of five bits each, from 0x60.
    const char language[4] = {static_cast<char>((packed >> 10 & 31) + 0x60),
                              static_cast<char>((packed >> 5 & 31) + 0x60),
                              static_cast<char>((packed & 31) + 0x60), 0};
    t.track.language = language;
    t.text.line(t.depth, "creation_time = %llu\n", creation);
    t.text.line(t.depth, "modification_time = %llu\n", modification);
    t.text.line(t.depth, "timescale = %u\n", timescale);
    t.text.line(t.depth, "duration = %llu\n", duration);
    t.text.line(t.depth, "language = %s\n", language);
}

void hdlr(FieldReader& r, const Target& t) {
    r.skip(8);  // version, flags, pre_defined
    const uint32_t handler = r.u32();
    r.skip(12);
    if (!r.ok()) return;
    const size_t rest = r.left();
    const std::string name = text_of(r.take(rest), rest);
    t.track.handler_type = handler;
    t.track.title = name;
    t.text.line(t.depth, "handler_type = %s\n", fourcc_text(handler).c_str());
    t.text.line(t.depth, "name = %s\n", name.c_str());
}

void vmhd(FieldReader& r, const Target& t) {
    r.skip(4);
    const unsigned mode = r.u16();
    const unsigned opcolor[3] = {r.u16(), r.u16(), r.u16()};
    if (!r.ok()) return;
    t.text.line(t.depth, "graphicsmode = %u\n", mode);
    t.text.line(t.depth, "opcolor = ");
    for (unsigned value : opcolor) t.text.more("%u, ", value);
    t.text.more("\n");
}

void smhd(FieldReader& r, const Target& t) {
    r.skip(4);
    const int balance = static_cast<int16_t>(r.u16());
    if (!r.ok()) return;
    t.text.line(t.depth, "balance = %d\n", balance);
}

void dref(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "entry_count = %u\n", count);
    // Each entry is a box: size, type, version and flags, then the location.
    for (uint32_t i = 0; i < count && r.left() >= 12; ++i) {
        const uint32_t size = r.u32();
        r.skip(4);
        const uint32_t flags = r.u32() & 0xFFFFFF;
        const size_t body = std::min<size_t>(size >= 12 ? size - 12 : 0, r.left());
        const std::string location = text_of(r.take(body), body);
        if (flags == 1)
            t.text.line(t.depth, "urn is not supported\n");
        else
            t.text.line(t.depth, "url location = %s\n", location.c_str());
        if (size < 12) break;
    }
}

void elst(FieldReader& r, const Target& t) {
    const unsigned version = r.u8();
    r.skip(3);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    const bool wide = version == 1;
    t.text.line(t.depth, "version = %u\n", version);
    t.text.line(t.depth, "entry_count = %u\n", count);
    const size_t entry = wide ? 20 : 12;
    for (uint32_t i = 0; i < count && r.left() >= entry; ++i) {
        const unsigned long long duration = r.sized(wide);
        const long long media_time =
            wide ? static_cast<int64_t>(r.u64()) : static_cast<int32_t>(r.u32());
        const int rate_integer = static_cast<int16_t>(r.u16());
        const int rate_fraction = static_cast<int16_t>(r.u16());
        t.text.line(t.depth, "segment_duration = %llu\n", duration);
        t.text.line(t.depth, "media_time = %lld\n", media_time);
        t.text.line(t.depth, "media_rate_integer = %d\n", rate_integer);
        t.text.line(t.depth, "media_rate_fraction = %d\n", rate_fraction);
    }
}

// Makes room for a table of count entries of the given width, when the box
// holds them; else says so on the message stream (as "Error while trying to
// read <name>!") and leaves the table empty.
template <typename Entry>
bool make_table(std::vector<Entry>& table, uint32_t count, size_t width, const FieldReader& r,
                const char* name, const Target& t) {
    table.clear();
    if (static_cast<uint64_t>(count) * width > r.left()) {
        std::fprintf(t.messages, "Error while trying to read %s!\n", name);
        return false;
    }
    try {
        table.reserve(count);
    } catch (const std::bad_alloc&) {
        std::fprintf(t.messages, "ERROR! Out of memory...\n");
        return false;
    }
    return true;
}

void stts(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "entry_count = %u\n", count);
    auto& table = t.track.time_to_sample;
    if (!make_table(table, count, 8, r, "stts", t)) return;
    for (uint32_t i = 0; i < count; ++i) {
        TimeToSample entry;
        entry.sample_count = r.u32();
        entry.sample_delta = r.u32();
        table.push_back(entry);
        t.text.line(t.depth, "sample_count = %u\n", entry.sample_count);
        t.text.line(t.depth, "sample_delta = %u\n", entry.sample_delta);
    }
}

void ctts(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    auto& table = t.track.composition_offsets;
    if (!make_table(table, count, 8, r, "ctts", t)) return;
    for (uint32_t i = 0; i < count; ++i) {
        CompositionOffset entry;
        entry.sample_count = r.u32();
        entry.sample_offset = r.u32();
        table.push_back(entry);
    }
}

void stsz(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t size = r.u32();
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    Track& track = t.track;
    track.sample_size = size;
    track.sample_count = count;
    t.text.line(t.depth, "sample_size = %u\n", size);
    t.text.line(t.depth, "sample_count = %u\n", count);
    if (size != 0) {
        track.sample_sizes.clear();
        return;
    }
    if (!make_table(track.sample_sizes, count, 4, r, "stsz", t)) {
        // Without its sizes the track has no samples to read.
        track.sample_count = 0;
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        track.sample_sizes.push_back(r.u32());
        t.text.line(t.depth, "entry_size = %u\n", track.sample_sizes.back());
    }
}

void stsc(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "entry_count = %u\n", count);
    auto& table = t.track.sample_to_chunk;
    if (!make_table(table, count, 12, r, "stsc", t)) return;
    for (uint32_t i = 0; i < count; ++i) {
        ChunkRun run;
        run.first_chunk = r.u32();
        run.samples_per_chunk = r.u32();
        run.sample_description_index = r.u32();
        table.push_back(run);
        t.text.line(t.depth,
                    "first_chunk = %u, samples_per_chunk = %u, sample_description_index = %u\n",
                    run.first_chunk, run.samples_per_chunk, run.sample_description_index);
    }
}

void stco(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "entry_count = %u\n", count);
    auto& table = t.track.chunk_offsets;
    if (!make_table(table, count, 4, r, "stco", t)) return;
    for (uint32_t i = 0; i < count; ++i) {
        table.push_back(r.u32());
        t.text.line(t.depth, "chunkOffset = %u\n", table.back());
    }
}

void stss(FieldReader& r, const Target& t) {
    r.skip(4);
    const uint32_t count = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "entry_count = %u\n", count);
    auto& table = t.track.sync_samples;
    if (!make_table(table, count, 4, r, "stss", t)) return;
    for (uint32_t i = 0; i < count; ++i) {
        table.push_back(r.u32());
        t.text.line(t.depth, "sample_number = %u\n", table.back());
    }
}

void sdtp(FieldReader& r, const Target& t) {
    r.skip(4);
    if (!r.ok()) return;
    const size_t count = r.left();
    const uint8_t* flags = r.take(count);
    t.track.dependency_flags.assign(flags, flags + count);
}

// One parameter set line pair; false when the box ends inside it.
bool parameter_set(FieldReader& r, const Target& t, const char* name,
                   std::vector<std::vector<uint8_t>>& sets) {
    const unsigned length = r.u16();
    if (!r.ok()) return false;
    t.text.line(t.depth, "%sLength = %u\n", name, length);
    const uint8_t* bytes = r.take(length);
    if (!bytes) return false;
    t.text.line(t.depth, "%sNALUnit = ", name);
    for (unsigned i = 0; i < length; ++i) t.text.more("%x ", bytes[i]);
    t.text.more("\n");
    sets.emplace_back(bytes, bytes + length);
    return true;
}

void avcc(FieldReader& r, const Target& t) {
    const unsigned version = r.u8();
    const unsigned profile = r.u8();
    const unsigned compatibility = r.u8();
    const unsigned level = r.u8();
    const unsigned length_size_minus_one = r.u8() & 3;
    if (!r.ok()) return;
    Track& track = t.track;
    track.profile = profile;
    track.profile_compatibility = compatibility;
    track.level = level;
    track.nal_length_size = static_cast<int>(length_size_minus_one) + 1;
    track.sequence_parameter_sets.clear();
    track.picture_parameter_sets.clear();
    t.text.line(t.depth, "configurationVersion = %u\n", version);
    t.text.line(t.depth, "AVCProfileIndication = %u\n", profile);
    t.text.line(t.depth, "profile_compatibility = %u\n", compatibility);
    t.text.line(t.depth, "AVCLevelIndication = %u\n", level);
    t.text.line(t.depth, "lengthSizeMinusOne = %u\n", length_size_minus_one);
    const unsigned sequence_sets = r.u8() & 31;
    if (!r.ok()) return;
    t.text.line(t.depth, "numOfSequenceParameterSets = %u\n", sequence_sets);
    for (unsigned i = 0; i < sequence_sets; ++i)
        if (!parameter_set(r, t, "sequenceParameterSet", track.sequence_parameter_sets)) return;
    const unsigned picture_sets = r.u8();
    if (!r.ok()) return;
    t.text.line(t.depth, "numOfPictureParameterSets = %u\n", picture_sets);
    for (unsigned i = 0; i < picture_sets; ++i)
        if (!parameter_set(r, t, "pictureParameterSet", track.picture_parameter_sets)) return;
}

void btrt(FieldReader& r, const Target& t) {
    const uint32_t buffer_size = r.u32();
    const uint32_t max_bitrate = r.u32();
    const uint32_t average_bitrate = r.u32();
    if (!r.ok()) return;
    t.text.line(t.depth, "bufferSizeDB = %u\n", buffer_size);
    t.text.line(t.depth, "maxBitrate = %u\n", max_bitrate);
    t.text.line(t.depth, "avgBitrate = %u\n", average_bitrate);
}

// A descriptor's length: up to four bytes of seven bits, high bit set on all
// but the last.
uint32_t descriptor_length(FieldReader& r) {
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t byte = r.u8();
        length = length << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) break;
    }
    return length;
}

void esds(FieldReader& r, const Target& t) {
    struct {
        unsigned es_id = 0, object_type = 0, stream_type = 0, reserved = 0, url_flag = 0, tag = 0;
        uint32_t buffer_size = 0, max_bitrate = 0, average_bitrate = 0;
    } es;
    r.skip(4);
    unsigned tag = r.u8();
    es.tag = tag;
    descriptor_length(r);
    if (tag == 3) {  // elementary stream descriptor
        es.es_id = r.u16();
        const unsigned flags = r.u8();
        es.url_flag = flags >> 6 & 1;
        if (flags & 0x80) r.skip(2);
        if (flags & 0x40) r.skip(r.u8());
        if (flags & 0x20) r.skip(2);
        tag = r.u8();
        descriptor_length(r);
    }
    if (r.ok() && tag == 4) {  // decoder configuration descriptor
        es.object_type = r.u8();
        const unsigned stream = r.u8();
        es.stream_type = stream >> 2;
        es.reserved = stream & 1;
        es.buffer_size = r.u24();
        es.max_bitrate = r.u32();
        es.average_bitrate = r.u32();
        if (!r.ok()) es.buffer_size = es.max_bitrate = es.average_bitrate = 0;
    }
    t.track.buffer_size = es.buffer_size;
    t.track.max_bitrate = es.max_bitrate;
    t.track.average_bitrate = es.average_bitrate;
    t.text.line(t.depth, "ESID = %u\n", es.es_id);
    t.text.line(t.depth, "ObjTypInd = %x\n", es.object_type);
    t.text.line(t.depth, "StreamType = %u\n", es.stream_type);
    t.text.line(t.depth, "Reserved = %u\n", es.reserved);
    t.text.line(t.depth, "BufferSizeDB = %u\n", es.buffer_size);
    t.text.line(t.depth, "Max Bitrate = %u\n", es.max_bitrate);
    t.text.line(t.depth, "Avg Bitrate = %u\n", es.average_bitrate);
    t.text.line(t.depth, "URL flag = %u\n", es.url_flag);
    t.text.line(t.depth, "Tag = %u\n", es.tag);
}

void damr(FieldReader& r, const Target& t) {
    const uint32_t vendor = r.u32();
    r.skip(1);  // decoder version
    const unsigned mode_set = r.u16();
    r.skip(1);  // mode change period
    const unsigned frames_per_sample = r.u8();
    if (!r.ok()) return;
    t.text.line(t.depth, "Vendor = %s\n", fourcc_text(vendor).c_str());
    t.text.line(t.depth, "FramesPerSamp = %u\n", frames_per_sample);
    t.text.line(t.depth, "ModeSet = %u\n", mode_set);
}

}  // namespace

void parse_fields(uint32_t type, FieldReader& r, const FieldsTarget& target) {
    struct Parser {
        uint32_t type;
        void (*parse)(FieldReader&, const Target&);
    };
    static constexpr Parser kParsers[] = {
        {fourcc("ftyp"), ftyp}, {fourcc("mvhd"), mvhd}, {fourcc("tkhd"), tkhd},
        {fourcc("mdhd"), mdhd}, {fourcc("hdlr"), hdlr}, {fourcc("vmhd"), vmhd},
        {fourcc("smhd"), smhd}, {fourcc("dref"), dref}, {fourcc("elst"), elst},
        {fourcc("stts"), stts}, {fourcc("ctts"), ctts}, {fourcc("stsz"), stsz},
        {fourcc("stsc"), stsc}, {fourcc("stco"), stco}, {fourcc("stss"), stss},
        {fourcc("sdtp"), sdtp}, {fourcc("avcC"), avcc}, {fourcc("btrt"), btrt},
        {fourcc("esds"), esds}, {fourcc("damr"), damr},
    };
    for (const Parser& parser : kParsers)
        if (parser.type == type) return parser.parse(r, target);
}

}  // namespace tavimor::mp4
