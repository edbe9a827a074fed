// Gathers the sections of one PID's program tables from its packets'
// payloads and passes on every complete section whose CRC-32 is right.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavimor::ts {

// The CRC-32 of the program tables (polynomial 0x04C11DB7, most significant
// bit first, starting from all ones, no final inversion). A section with its
// own CRC at the end gives 0.
uint32_t section_crc32(const uint8_t* bytes, size_t size);

class SectionAssembler {
  public:
    // The three header bytes and a section_length of up to 12 bits.
    static constexpr size_t kCapacity = 3 + 0x0FFF;

    // Takes one packet's payload. In a packet that starts a unit, the
    // pointer field's bytes end the section in progress and new sections
    // begin after it, one after the other until stuffing (0xFF) or the end of
    // the payload; other packets continue the section in progress as long as
    // the continuity counter steps by one. Calls on_section(bytes, size) for
    // every complete section whose CRC-32 checks.
    template <typename OnSection>
    void feed(bool unit_start, int continuity, const uint8_t* payload, size_t size,
              OnSection&& on_section) {
        const bool in_sequence = continuity == ((last_continuity_ + 1) & 0x0F);
        last_continuity_ = continuity;
        if (!unit_start) {
            if (!active_) return;
            active_ = in_sequence;
            if (active_) {
                gather(payload, size);
                if (complete()) pass_on(on_section);
            }
            return;
        }
        const size_t pointer = size > 0 ? payload[0] : size;
        if (pointer >= size) {
            active_ = false;  // no pointer field, or one pointing beyond the payload
            return;
        }
        if (active_ && in_sequence) {
            gather(payload + 1, pointer);
            if (complete()) pass_on(on_section);
        }
        active_ = false;
        size_t at = 1 + pointer;
        while (at < size && payload[at] != 0xFF) {
            active_ = true;
            have_ = 0;
            need_ = 0;
            at += gather(payload + at, size - at);
            if (!complete()) break;  // goes on in the next packet
            pass_on(on_section);
        }
    }

    // Forgets the section in progress and the continuity counter.
    void reset() {
        active_ = false;
        have_ = need_ = 0;
        last_continuity_ = -1;
    }

  private:
    // Adds bytes to the section in progress up to its end; the bytes taken.
    size_t gather(const uint8_t* bytes, size_t size);
    bool complete() const { return need_ != 0 && have_ == need_; }

    template <typename OnSection>
    void pass_on(OnSection& on_section) {
        active_ = false;
        if (section_crc32(bytes_.data(), need_) == 0) on_section(bytes_.data(), need_);
    }

    int last_continuity_ = -1;
    bool active_ = false;
    size_t have_ = 0;
    size_t need_ = 0;  // the section's full size, 0 until its header is in
    std::array<uint8_t, kCapacity> bytes_;
};

}  // namespace tavimor::ts
