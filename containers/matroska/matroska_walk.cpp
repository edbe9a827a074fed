// The element walk: identifiers and sizes, the element tree as indented
// lines, and the handlers of masters, numbers and strings.
#include <bit>
#include <climits>
#include <cstdarg>
#include <cstring>

#include "containers/matroska/matroska_state.h"

namespace tavimor::matroska {

namespace {

// The holder the header and the body walk under: the whole file.
constexpr uint64_t kNoEnd = UINT64_MAX;

// A 64-bit number as the lines print it: its low 32 bits, signed.
int low32(uint64_t value) {
    return static_cast<int>(static_cast<uint32_t>(value));
}

}  // namespace

int MatroskaState::setup(DemuxerContext& context) {
    context_ = &context;
    index_ = build_element_index();
    work_.assign(kWorkBufferSize, 0);
    input_.emplace(context.input, static_cast<uint64_t>(context.input_size));
    return kFormatOk;
}

int MatroskaState::header(DemuxerContext& context) {
    context_ = &context;
    input_->seek(0);
    text("EBML\n");
    Element holder;
    holder.depth = 0;
    holder.end = kNoEnd;
    walk(holder, 1);
    return kFormatOk;
}

int MatroskaState::body(DemuxerContext& context) {
    context_ = &context;
    Element holder;
    holder.depth = -1;
    holder.end = kNoEnd;
    // The Segment holds everything else; what stands before it (padding, an
    // element of some other kind) is walked on the way to it.
    while (!stopped_ && segments_ == 0 && !input_->at_end())
        if (!walk(holder, 1)) break;
    if (stopped_) return kFormatOk;
    finish_output();
    report_problems();
    return kFormatOk;
}

void MatroskaState::cleanup() {
    work_ = {};
    index_ = {};
    input_.reset();
    context_ = nullptr;
}

bool MatroskaState::walk(const Element& holder, int most_elements) {
    EbmlInput& in = *input_;
    for (int walked = 0; walked < most_elements && !stopped_;) {
        if (in.position() >= holder.end || in.at_end()) return true;
        const uint64_t element_start = in.position();
        Vint id;
        int result = read_vint(in, 4, true, context_->messages, id);
        if (result != kVintOk) {
            message("ID read error - res %d\n", result);
            message("error in reading id @ %d\n", position32());
            error_ = result;
            note(result == kVintCorrupt ? Problem::kUnreadable : Problem::kCut, element_start);
            return false;
        }
        const auto found = index_.find(id.value);
        const ElementDescriptor* descriptor = found == index_.end() ? nullptr : found->second;
        // An element of unknown size ends where an element comes that
        // cannot stand inside it.
        if (holder.unknown_size && descriptor && !may_stand_inside(id.value, holder.id)) {
            in.seek(element_start);
            return true;
        }
        Vint size;
        result = read_vint(in, 8, false, context_->messages, size);
        if (result != kVintOk) {
            message("error in reading element size @ %d\n", position32());
            error_ = result;
            note(result == kVintCorrupt ? Problem::kUnreadable : Problem::kCut, element_start);
            return false;
        }
        ++walked;

        Element element;
        element.id = id.value;
        element.size = size.value;
        element.depth = holder.depth + 1;
        element.descriptor = descriptor;
        element.start = in.position();
        const bool master = descriptor && descriptor->kind == ElementKind::kMaster;
        if (master && is_unknown_size(size)) {
            element.unknown_size = true;
            element.end = holder.end;
        } else if (element.start > holder.end || size.value > holder.end - element.start) {
            // Its holder cannot hold it: the holder's walk ends here.
            message("element 0x%x @ %d: its size %llu runs past the element holding it\n",
                    static_cast<unsigned>(id.value), low32(element_start),
                    static_cast<unsigned long long>(size.value));
            note(Problem::kOversize, element_start);
            return false;
        } else {
            element.end = element.start + size.value;
        }
        if (!element.unknown_size && element.end > in.size()) {
            note(Problem::kCut, element_start);
            if (!master) {
                // Nothing of it is used: what it holds is incomplete.
                message("end of file inside element 0x%x @ %d (%llu of its %llu bytes)\n",
                        static_cast<unsigned>(id.value), low32(element_start),
                        static_cast<unsigned long long>(in.size() - element.start),
                        static_cast<unsigned long long>(size.value));
                in.seek(element.end);
                return true;
            }
            // A master is walked as far as the file goes.
        }

        if (!descriptor) {
            // At the element's depth like every other line: without its tabs
            // it would stand as a root of the tree, and the tree would hang
            // the lines after it (the rest of the Segment) under it.
            text("%sUnsupported ID(0x%8x)\n", tabs(element.depth), static_cast<unsigned>(id.value));
            in.seek(element.end);
            continue;
        }
        if (master) {
            if (element.depth > kMaxMasterDepth) {
                message("element 0x%x @ %d nests deeper than %d levels: skipped\n",
                        static_cast<unsigned>(id.value), low32(element_start), kMaxMasterDepth);
                note(Problem::kTooDeep, element_start);
                if (element.unknown_size) return false;
                in.seek(element.end);
                continue;
            }
            text("%s%s\n", tabs(element.depth), descriptor->name);
            const bool aligned = walk_master(element);
            if (stopped_) return true;
            // A known end is where the walk goes on, whatever happened
            // inside; where an element of unknown size lost its way, its
            // holder's walk ends too (and the next known end takes over).
            if (!element.unknown_size)
                in.seek(element.end);
            else if (!aligned)
                return false;
            continue;
        }
        handle_value(element);
        in.seek(element.end);
    }
    return true;
}

bool MatroskaState::walk_master(const Element& element) {
    const bool entry = element.id == ids::kTrackEntry;
    if (element.id == ids::kSegment) ++segments_;
    if (entry) begin_track_entry();
    const bool aligned = walk(element, INT_MAX);
    if (entry) end_track_entry();
    return aligned;
}

void MatroskaState::handle_value(const Element& element) {
    const ElementDescriptor& descriptor = *element.descriptor;
    switch (descriptor.kind) {
        case ElementKind::kUnsigned:
            read_unsigned(element);
            break;
        case ElementKind::kFloat:
            read_float(element);
            break;
        case ElementKind::kString:
            read_string(element);
            break;
        case ElementKind::kSkipped:
            text("%s%s(skipped %d bytes)\n", tabs(element.depth), descriptor.name,
                 low32(element.size));
            break;
        case ElementKind::kCodecPrivate:
            codec_private(element);
            break;
        case ElementKind::kBlock:
            block(element);
            break;
        case ElementKind::kMaster:
            break;
    }
}

void MatroskaState::read_unsigned(const Element& element) {
    uint64_t value = 0;
    // Sizes of 0 or above 8 bytes are no number: it counts as 0.
    if (element.size >= 1 && element.size <= 8) {
        uint8_t bytes[8];
        const size_t got = input_->read(bytes, static_cast<size_t>(element.size));
        for (size_t i = 0; i < got; ++i) value = (value << 8) | bytes[i];
        if (got < element.size) value = 0;
    }
    text("%s%s = %d\n", tabs(element.depth), element.descriptor->name, low32(value));
    switch (element.id) {
        case ids::kTrackNumber:
            entry_.number = value;
            break;
        case ids::kDefaultDuration:
            entry_.default_duration = value;
            break;
        case ids::kPixelWidth:
            entry_.width = value;
            break;
        case ids::kPixelHeight:
            entry_.height = value;
            break;
        case ids::kTimecodeScale:
            if (value != 0) timecode_scale_ = value;
            break;
        case ids::kClusterTimecode:
            cluster_time_ = value;
            break;
        default:
            break;
    }
}

void MatroskaState::read_float(const Element& element) {
    double value = 0;
    uint8_t bytes[8];
    // Other sizes than 4 and 8 bytes are no number: it counts as 0.
    if ((element.size == 4 || element.size == 8) &&
        input_->read(bytes, static_cast<size_t>(element.size)) == element.size) {
        uint64_t bits = 0;
        for (size_t i = 0; i < element.size; ++i) bits = (bits << 8) | bytes[i];
        value = element.size == 4 ? std::bit_cast<float>(static_cast<uint32_t>(bits))
                                  : std::bit_cast<double>(bits);
    }
    text("%s%s = %f\n", tabs(element.depth), element.descriptor->name, value);
}

void MatroskaState::read_string(const Element& element) {
    // What does not fit the work buffer is left out (the walk skips it).
    const size_t kept = static_cast<size_t>(std::min<uint64_t>(element.size, work_.size() - 1));
    const size_t got = input_->read(work_.data(), kept);
    work_[got] = 0;
    const char* value = reinterpret_cast<const char*>(work_.data());
    text("%s%s = %s\n", tabs(element.depth), element.descriptor->name, value);
    if (element.id == ids::kCodecId) codec_id(value);
}

void MatroskaState::text(const char* format, ...) {
    if (!context_->structure_text) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(context_->structure_text, format, arguments);
    va_end(arguments);
}

void MatroskaState::message(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(context_->messages, format, arguments);
    va_end(arguments);
}

const char* MatroskaState::tabs(int depth) {
    static constexpr char kTabs[] =
        "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"
        "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"
        "\t\t\t\t\t\t\t\t";
    constexpr int kMost = sizeof kTabs - 1;
    static_assert(kMost >= kMaxMasterDepth + 2);
    depth = depth < 0 ? 0 : depth > kMost ? kMost : depth;
    return kTabs + (kMost - depth);
}

void MatroskaState::note(Problem problem, uint64_t at) {
    // A cut shows in every element around it: it counts once, told by the
    // innermost element it cuts (noted last).
    if (problem == Problem::kCut && cut_noted_) {
        if (first_problem_ == Problem::kCut) first_problem_at_ = at;
        return;
    }
    if (problem == Problem::kCut) cut_noted_ = true;
    if (problems_++ == 0) {
        first_problem_ = problem;
        first_problem_at_ = at;
    }
}

int MatroskaState::position32() const {
    return low32(input_->position());
}

}  // namespace tavimor::matroska
