#include "containers/matroska/element_table.h"

#include <array>

namespace tavimor::matroska {

namespace {

using K = ElementKind;

// The names are shown as they stand here, spelling included: the structure
// texts users keep and compare carry them.
constexpr std::array<ElementDescriptor, 96> kElements = {{
    // Masters.
    {0x1A45DFA3, K::kMaster, "Header"},
    {0x18538067, K::kMaster, "Segment"},
    {0x114D9B74, K::kMaster, "Segment SeekHead"},
    {0x4DBB, K::kMaster, "Seek"},
    {0x1549A966, K::kMaster, "Segment Info"},
    {0x1654AE6B, K::kMaster, "Segment Tracks"},
    {0xAE, K::kMaster, "Track Entry"},
    {0xE0, K::kMaster, "Video"},
    {0xE1, K::kMaster, "Audio"},
    {0x6D80, K::kMaster, "Content Encodings"},
    {0x6240, K::kMaster, "Content Encoding"},
    {0x5034, K::kMaster, "Encoding Compression"},
    {0x5035, K::kMaster, "Content Encryption"},
    {0x1F43B675, K::kMaster, "Segment Cluster"},
    {0xA0, K::kMaster, "Block Group"},
    {0x1C53BB6B, K::kMaster, "Segment Cues"},
    {0xBB, K::kMaster, "CuePoint"},
    {0xB7, K::kMaster, "CueTrackPositions"},
    {0x1941A469, K::kMaster, "Segment Attachments"},
    {0x1254C367, K::kMaster, "Segment Tags"},
    {0x1043A770, K::kMaster, "Chapters"},
    {0x45B9, K::kMaster, "EditionEntry"},
    {0xB6, K::kMaster, "ChapterAtom"},
    {0x80, K::kMaster, "ChapterDisplay"},
    // Unsigned integers.
    {0x4286, K::kUnsigned, "EBML Version"},
    {0x42F7, K::kUnsigned, "EBML Reader Version"},
    {0x42F2, K::kUnsigned, "EBML Max Length"},
    {0x42F3, K::kUnsigned, "EBML Max Size Length"},
    {0x4287, K::kUnsigned, "Doc Type Version"},
    {0x4285, K::kUnsigned, "Doc Type Reader Version"},
    {0x4285, K::kUnsigned, "Doc Type Reader Version"},
    {0x53AB, K::kUnsigned, "Seek ID"},
    {0x53AC, K::kUnsigned, "Seek Position"},
    {0x2AD7B1, K::kUnsigned, "Time Code Scale"},
    {0xD7, K::kUnsigned, "Track Number"},
    {0x73C5, K::kUnsigned, "Track UID"},
    {0x83, K::kUnsigned, "Track Type"},
    {0xB9, K::kUnsigned, "Flag Enabled"},
    {0x88, K::kUnsigned, "Flag Default"},
    {0x55AA, K::kUnsigned, "Flag Forced"},
    {0x9C, K::kUnsigned, "Flag Lacing"},
    {0x6DE7, K::kUnsigned, "Min Cache"},
    {0x6DF8, K::kUnsigned, "Max Cache"},
    {0x23E383, K::kUnsigned, "Default Duration"},
    {0xAA, K::kUnsigned, "CodecDecodeAll"},
    {0x55EE, K::kUnsigned, "MaxBlockAdditionID"},
    {0x9A, K::kUnsigned, "FlagInterlaced"},
    {0xB0, K::kUnsigned, "Pixel Width"},
    {0xBA, K::kUnsigned, "Pixel Height"},
    {0x54AA, K::kUnsigned, "Crop Bottom"},
    {0x54BB, K::kUnsigned, "Crop Top"},
    {0x54CC, K::kUnsigned, "Crop Left"},
    {0x54DD, K::kUnsigned, "Crop Right"},
    {0x54B0, K::kUnsigned, "Display Width"},
    {0x54BA, K::kUnsigned, "Display Height"},
    {0x54B2, K::kUnsigned, "Display Unit"},
    {0xB5, K::kUnsigned, "Audio Sample Freq"},
    {0x78B5, K::kUnsigned, "Audio Out Sample Freq"},
    {0x9F, K::kUnsigned, "Audio Channels"},
    {0x6264, K::kUnsigned, "Audio Bit Depth"},
    {0x5031, K::kUnsigned, "Encoding Order"},
    {0x5032, K::kUnsigned, "Encoding Scope"},
    {0x5033, K::kUnsigned, "Encoding Type"},
    {0xE7, K::kUnsigned, "Time Mode"},
    {0x9B, K::kUnsigned, "Block Duration"},
    {0xFB, K::kUnsigned, "Block Reference"},
    {0xB3, K::kUnsigned, "CueTime"},
    {0xF7, K::kUnsigned, "CueTrack"},
    {0xF1, K::kUnsigned, "CueClusterPosition"},
    {0x45BC, K::kUnsigned, "EditionUID"},
    {0x45DB, K::kUnsigned, "EditionFlagDefault"},
    {0x45BD, K::kUnsigned, "EditionFlagHidden"},
    {0x73C4, K::kUnsigned, "ChapterUID"},
    {0x91, K::kUnsigned, "ChapterTimeStart"},
    {0x92, K::kUnsigned, "ChapterTimeEnd"},
    {0x98, K::kUnsigned, "ChapterFlagHidden"},
    {0x4598, K::kUnsigned, "ChapterFlagEnabled"},
    // Floats.
    {0x4489, K::kFloat, "Duration"},
    {0x23314F, K::kFloat, "Time Code Scale"},
    // Strings.
    {0x4282, K::kString, "Doc Type"},
    {0x7BA9, K::kString, "Title"},
    {0x5741, K::kString, "Writing App"},
    {0x4D80, K::kString, "Mixing App"},
    {0x4461, K::kString, "Date(UTC)"},
    {0x73A4, K::kString, "Segmeng UID"},
    {0x536E, K::kString, "Name"},
    {0x22B59C, K::kString, "Language"},
    {0x86, K::kString, "Codec ID"},
    {0x258688, K::kString, "Codec Name"},
    {0x85, K::kString, "ChapString"},
    {0x437C, K::kString, "ChapLanguage"},
    // Skipped.
    {0xEC, K::kSkipped, "Void"},
    {0xBF, K::kSkipped, "CRC32"},
    // Codec private.
    {0x63A2, K::kCodecPrivate, "Codec Private"},
    // Blocks.
    {0xA3, K::kBlock, "Simple Block"},
    {0xA1, K::kBlock, "Block"},
}};

// Where each known element stands: its holder, and for a chapter atom a
// second one (atoms nest). 0: at the top of the file.
struct Placement {
    uint64_t id;
    uint64_t holder;
    uint64_t other_holder;
};

constexpr uint64_t kSeekHead = 0x114D9B74, kSeek = 0x4DBB, kInfo = 0x1549A966, kTracks = 0x1654AE6B,
                   kVideo = 0xE0, kAudio = 0xE1, kEncodings = 0x6D80, kEncoding = 0x6240,
                   kCluster = 0x1F43B675, kBlockGroup = 0xA0, kCues = 0x1C53BB6B, kCuePoint = 0xBB,
                   kCuePositions = 0xB7, kChapters = 0x1043A770, kEdition = 0x45B9, kAtom = 0xB6,
                   kDisplay = 0x80;
constexpr uint64_t kHeader = ids::kEbmlHeader, kSegment = ids::kSegment, kEntry = ids::kTrackEntry;

constexpr Placement kPlacements[] = {
    {kHeader, 0, 0},           {kSegment, 0, 0},
    {0x4286, kHeader, 0},      {0x42F7, kHeader, 0},
    {0x42F2, kHeader, 0},      {0x42F3, kHeader, 0},
    {0x4282, kHeader, 0},      {0x4287, kHeader, 0},
    {0x4285, kHeader, 0},      {kSeekHead, kSegment, 0},
    {kInfo, kSegment, 0},      {kTracks, kSegment, 0},
    {kCluster, kSegment, 0},   {kCues, kSegment, 0},
    {0x1941A469, kSegment, 0}, {0x1254C367, kSegment, 0},
    {kChapters, kSegment, 0},  {kSeek, kSeekHead, 0},
    {0x53AB, kSeek, 0},        {0x53AC, kSeek, 0},
    {0x2AD7B1, kInfo, 0},      {0x4489, kInfo, 0},
    {0x7BA9, kInfo, 0},        {0x5741, kInfo, 0},
    {0x4D80, kInfo, 0},        {0x4461, kInfo, 0},
    {0x73A4, kInfo, 0},        {kEntry, kTracks, 0},
    {0xD7, kEntry, 0},         {0x73C5, kEntry, 0},
    {0x83, kEntry, 0},         {0xB9, kEntry, 0},
    {0x88, kEntry, 0},         {0x55AA, kEntry, 0},
    {0x9C, kEntry, 0},         {0x6DE7, kEntry, 0},
    {0x6DF8, kEntry, 0},       {0x23E383, kEntry, 0},
    {0x23314F, kEntry, 0},     {0xAA, kEntry, 0},
    {0x55EE, kEntry, 0},       {0x536E, kEntry, 0},
    {0x22B59C, kEntry, 0},     {0x86, kEntry, 0},
    {0x63A2, kEntry, 0},       {0x258688, kEntry, 0},
    {kVideo, kEntry, 0},       {kAudio, kEntry, 0},
    {kEncodings, kEntry, 0},   {0x9A, kVideo, 0},
    {0xB0, kVideo, 0},         {0xBA, kVideo, 0},
    {0x54AA, kVideo, 0},       {0x54BB, kVideo, 0},
    {0x54CC, kVideo, 0},       {0x54DD, kVideo, 0},
    {0x54B0, kVideo, 0},       {0x54BA, kVideo, 0},
    {0x54B2, kVideo, 0},       {0xB5, kAudio, 0},
    {0x78B5, kAudio, 0},       {0x9F, kAudio, 0},
    {0x6264, kAudio, 0},       {kEncoding, kEncodings, 0},
    {0x5031, kEncoding, 0},    {0x5032, kEncoding, 0},
    {0x5033, kEncoding, 0},    {0x5034, kEncoding, 0},
    {0x5035, kEncoding, 0},    {0xE7, kCluster, 0},
    {0xA3, kCluster, 0},       {kBlockGroup, kCluster, 0},
    {0xA1, kBlockGroup, 0},    {0x9B, kBlockGroup, 0},
    {0xFB, kBlockGroup, 0},    {kCuePoint, kCues, 0},
    {0xB3, kCuePoint, 0},      {kCuePositions, kCuePoint, 0},
    {0xF7, kCuePositions, 0},  {0xF1, kCuePositions, 0},
    {kEdition, kChapters, 0},  {0x45BC, kEdition, 0},
    {0x45DB, kEdition, 0},     {0x45BD, kEdition, 0},
    {kAtom, kEdition, kAtom},  {0x73C4, kAtom, 0},
    {0x91, kAtom, 0},          {0x92, kAtom, 0},
    {0x98, kAtom, 0},          {0x4598, kAtom, 0},
    {kDisplay, kAtom, 0},      {0x85, kDisplay, 0},
    {0x437C, kDisplay, 0},
};

const Placement* placement_of(uint64_t id) {
    for (const Placement& placement : kPlacements)
        if (placement.id == id) return &placement;
    return nullptr;
}

}  // namespace

std::span<const ElementDescriptor> element_table() {
    return kElements;
}

ElementIndex build_element_index() {
    ElementIndex index;
    index.reserve(kElements.size());
    for (const ElementDescriptor& element : kElements) index.emplace(element.id, &element);
    return index;
}

bool may_stand_inside(uint64_t id, uint64_t holder) {
    if (id == ids::kVoid || id == ids::kCrc32) return true;
    // The holders above an element are at most a few levels: follow them up
    // (a chapter atom's own kind is not followed again).
    const Placement* placement = placement_of(id);
    if (!placement) return true;
    for (uint64_t above : {placement->holder, placement->other_holder}) {
        if (above == holder) return true;
        if (above != 0 && above != id && may_stand_inside(above, holder)) return true;
    }
    return false;
}

}  // namespace tavimor::matroska
