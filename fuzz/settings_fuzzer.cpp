// Reads arbitrary bytes as a settings file and writes entries into it as the
// window does (read the file, set or delete one entry, write the whole text):
// the bytes up to the first zero byte are the file, the rest the writes
// (each a key choice with a delete bit, a length, then the value). After
// each write, the text read again gives the value just written (up to its
// first line break, which a line cannot hold), no longer gives a deleted
// key, keeps every other entry's value, and is written back unchanged.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_document.h"

namespace {

struct Setting {
    std::string_view section;
    std::string_view key;
};

// The entries the window reads and writes, one of them in another spelling.
constexpr Setting kSettings[] = {
    {"File History", "File0"}, {"File History", "File1"},    {"File History", "File2"},
    {"File History", "File3"}, {"Local Info", "CheckNever"}, {"file history", "FILE1"},
};
constexpr size_t kSettingCount = std::size(kSettings);

[[noreturn]] void fail(const char* what, const Setting& setting) {
    std::fprintf(stderr, "settings_fuzzer: %s (%.*s, %.*s)\n", what,
                 static_cast<int>(setting.section.size()), setting.section.data(),
                 static_cast<int>(setting.key.size()), setting.key.data());
    std::abort();
}

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool same_entry(const Setting& a, const Setting& b) {
    return same_name(a.section, b.section) && same_name(a.key, b.key);
}

// What reading the entry gives, with the window's limits and conversions.
void read_as_window(const tavimor::IniDocument& document, const Setting& setting) {
    const std::optional<std::string> value = document.value(setting.section, setting.key);
    if (!value) return;
    if (tavimor::truncate_characters(*value, 260).size() > value->size())
        fail("a cut value grew", setting);
    tavimor::profile_integer(*value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t end = std::min(bytes.find('\0'), bytes.size());
    tavimor::IniDocument document(bytes.substr(0, end));
    for (const Setting& setting : kSettings) read_as_window(document, setting);

    std::string_view writes = end < bytes.size() ? bytes.substr(end + 1) : std::string_view{};
    while (writes.size() >= 2) {
        const uint8_t choice = static_cast<uint8_t>(writes[0]);
        const size_t length = std::min<size_t>(static_cast<uint8_t>(writes[1]), writes.size() - 2);
        const std::string_view written = writes.substr(2, length);
        writes.remove_prefix(2 + length);
        const Setting& target = kSettings[choice % kSettingCount];
        const bool deleting = (choice & 0x80) != 0;

        tavimor::IniDocument changed = document;
        changed.set(target.section, target.key,
                    deleting ? std::nullopt : std::optional<std::string_view>(written));
        const std::string text = changed.text();
        const tavimor::IniDocument reread(text);

        const std::optional<std::string> value = reread.value(target.section, target.key);
        if (deleting && value) fail("a deleted key is read again", target);
        if (!deleting && value != written.substr(0, written.find('\n')))
            fail("a written value reads differently", target);
        for (const Setting& other : kSettings) {
            if (same_entry(other, target)) continue;
            if (reread.value(other.section, other.key) != document.value(other.section, other.key))
                fail("another entry changed", other);
        }
        if (reread.text() != text) fail("the text read again is written differently", target);
        read_as_window(reread, target);
        document = reread;
    }
    return 0;
}
