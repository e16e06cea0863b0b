// The machine that the fake's files share, and the helpers with which tests set it up and read
// it back; the platform's functions live beside this file, one file per concern.
#include <algorithm>
#include <cstring>

#include "platform/fake/internal.h"

namespace fake {

namespace {
State* current = nullptr;
}  // namespace

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// As the wide conversion (MultiByteToWideChar, MB_ERR_INVALID_CHARS) takes it: no stray or
// missing continuation byte, no overlong form, no surrogate, nothing beyond U+10FFFF.
bool validUtf8(const std::string& text) {
    static const uint32_t LEAST[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80                  ? 1
                        : lead < 0xC2 || lead > 0xF4 ? 0
                        : lead < 0xE0                ? 2
                        : lead < 0xF0                ? 3
                                                     : 4;
        if (length == 0 || i + length > text.size()) return false;
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < LEAST[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        i += length;
    }
    return true;
}

// A path that is not UTF-8 fails too: the product's platform never hands it to Windows.
bool fails(const std::string& operation, const std::string& path) {
    const auto& failing = state().failing;
    return !validUtf8(path) || failing.count(operation + ":*") ||
           failing.count(operation + ":" + lower(path));
}

void log(const std::string& event) {
    state().events.push_back(event);
    if (state().onEvent) state().onEvent(event);
}

std::string narrow(const char16_t* text) {
    std::string out;
    for (; text && *text; ++text) out += char(*text < 128 ? *text : '?');
    return out;
}

uint32_t folderText(const std::string& folder, char* out, uint32_t capacity) {
    if (folder.size() >= capacity) return uint32_t(folder.size() + 1);
    memcpy(out, folder.c_str(), folder.size() + 1);
    return uint32_t(folder.size());
}

State& state() {
    if (!current) reset();
    return *current;
}

void reset() {
    std::map<std::string, int> open = current ? current->open : std::map<std::string, int>{};
    delete current;
    current = new State();
    current->open = open;
    current->folders["c:"] = "C:";
    for (const char* library : {"\\shell32.dll", "\\shfolder.dll"})
        current->modules[lower(current->systemFolder + library)] = {};
    current->modules[lower(current->systemFolder + "\\winmm.dll")].exports = {
        {"waveInGetNumDevs", 0}, {"waveOutGetNumDevs", 0}, {"waveInGetDevCapsW", 0},
        {"waveOutGetDevCapsW", 0}};
}

std::string leftOpen() {
    std::string out;
    for (const auto& [kind, count] : state().open)
        if (count) out += kind + " " + std::to_string(count) + " ";
    state().open.clear();
    return out;
}

std::string lower(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return tolower(c); });
    return out;
}

bool fileExists(const std::string& path) { return state().files.count(lower(path)) > 0; }
bool folderExists(const std::string& path) { return state().folders.count(lower(path)) > 0; }
void addFolder(const std::string& path) {
    for (std::string p = path; !p.empty() && !folderExists(p); p = parentOf(p))
        state().folders[lower(p)] = p;
}
void addFile(const std::string& path, const std::string& content) {
    state().files[lower(path)] = content;
    state().fileIds[lower(path)] = ++state().lastFileId;
}

const std::map<std::string, RegValue>* key(const std::string& storedPath) {
    auto found = state().keys.find(lower(storedPath));
    return found == state().keys.end() ? nullptr : &found->second;
}

std::string regString(const std::string& storedPath, const std::string& name) {
    const auto* values = key(storedPath);
    if (!values) return "<no key>";
    auto found = values->find(lower(name));
    if (found == values->end()) return "<no value>";
    std::string data = found->second.data;
    return data.substr(0, data.find('\0'));
}

void setRegValue(const std::string& storedPath, const std::string& name, platform::RegType type,
                 const std::string& data) {
    std::string path = lower(storedPath);
    for (std::string p = path; !p.empty(); p = parentOf(p)) state().keys[p];
    state().keys[path][lower(name)] = RegValue{type, data};
}

std::string wideBytes(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    while (times-- > 0) out += text;
    return out;
}

std::string propertyName(const platform::PropertyKey& key) {
    const platform::Guid& g = key.fmtid;
    char text[64];
    snprintf(text, sizeof text, "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x},%u", g.data1,
             g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
             g.data4[5], g.data4[6], g.data4[7], key.pid);
    return text;
}

std::vector<std::string> eventsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& event : state().events)
        if (event.rfind(prefix, 0) == 0) out.push_back(event);
    return out;
}

}  // namespace fake
