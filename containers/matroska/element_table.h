// The Matroska/WebM elements the parser knows: identifier, how the walk
// handles the element, and the name the structure text shows for it.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>

namespace tavimor::matroska {

enum class ElementKind {
    kMaster,        // holds elements: its children are walked
    kUnsigned,      // 1 to 8 bytes, big-endian
    kFloat,         // 4 or 8 bytes, big-endian IEEE 754
    kString,        // bytes shown as text, whatever they hold
    kSkipped,       // Void, CRC32
    kCodecPrivate,  // the track's codec configuration
    kBlock,         // Simple Block, Block
};

struct ElementDescriptor {
    uint64_t id;  // as stored, marker bit included
    ElementKind kind;
    char name[48];
};

// Identifiers the parser acts on besides writing their lines.
namespace ids {
inline constexpr uint64_t kEbmlHeader = 0x1A45DFA3;
inline constexpr uint64_t kSegment = 0x18538067;
inline constexpr uint64_t kTrackEntry = 0xAE;
inline constexpr uint64_t kTrackNumber = 0xD7;
inline constexpr uint64_t kCodecId = 0x86;
inline constexpr uint64_t kCodecPrivate = 0x63A2;
inline constexpr uint64_t kDefaultDuration = 0x23E383;
inline constexpr uint64_t kPixelWidth = 0xB0;
inline constexpr uint64_t kPixelHeight = 0xBA;
inline constexpr uint64_t kTimecodeScale = 0x2AD7B1;
inline constexpr uint64_t kClusterTimecode = 0xE7;
inline constexpr uint64_t kVoid = 0xEC;
inline constexpr uint64_t kCrc32 = 0xBF;
}  // namespace ids

// The 96 entries ("Doc Type Reader Version" stands in it twice).
std::span<const ElementDescriptor> element_table();

// The table by identifier, built once per run.
using ElementIndex = std::unordered_map<uint64_t, const ElementDescriptor*>;
ElementIndex build_element_index();

// Whether an element with this identifier can stand inside the holder
// (directly or deeper), which decides where an element of unknown size
// ends. Void and CRC32 can stand anywhere; an identifier the table does not
// know is taken to belong.
bool may_stand_inside(uint64_t id, uint64_t holder);

}  // namespace tavimor::matroska
