// Every text that the program copies into a fixed-size field, at the field's limit: a source
// that fills the field exactly is taken whole; one a character longer is cut to the field or
// refused, as that field's rule says, and nothing lands past the field (the sanitize preset
// runs this too, where a byte past a buffer of its own stops the test).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "app/context.h"
#include "app/shell_folders.h"
#include "app/status_label.h"
#include "devices/endpoint_store.h"
#include "devices/inventory.h"
#include "endpoints/endpoint_properties.h"
#include "install/install_folder.h"
#include "platform/fake/fake_platform.h"
#include "ui/web_address.h"

namespace {

using Text = std::u16string;
std::string narrow(const Text& text) { return std::string(text.begin(), text.end()); }

// The field up to its terminator; a field without one reads as "unterminated".
template <size_t N, typename Char>
Text field(const Char (&out)[N]) {
    Text text;
    for (size_t i = 0; i < N && out[i]; ++i)
        text += char16_t(static_cast<std::make_unsigned_t<Char>>(out[i]));
    return text.size() < N ? text : u"unterminated";
}

// The record of one endpoint enumerated with that friendly name and adapter.
DeviceRecord enumerated(const Text& name, const Text& adapter) {
    fake::state().renderEndpoints = {
        {u"{0.0.0.00000000}.{E}",
         {{"{a45c254e-df1c-4efd-8020-67d146a850e0},14", {.text = name}},
          {"{026e516e-b814-414b-83cd-856d6fef4822},2", {.text = adapter}}}}};
    initInventory();
    DeviceRecord record = *static_cast<const DeviceRecord*>(itemAt(&deviceInventory.outputDevices, 1));
    closeInventory();
    return record;
}
// The record read from an endpoint's store that holds one value ("{fmtid},pid").
DeviceRecord stored(const char* value, const Text& text) {
    const char16_t* render = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\Render";
    fake::setRegValue("HKLM\\" + narrow(render) + "\\{E}\\Properties", std::string("{") + value,
                      platform::RegType::string, fake::wideBytes(text));
    DeviceRecord record{};
    readEndpointProperties(&record, u"{E}", render, MME_READS);
    return record;
}
// The common Programs folder, or the install folder: without the shell's program-files
// folder, the install goes to the Windows drive's.
Text shellFolder(const Text& folder, bool common) {
    fake::state().shellFolders[platform::CSIDL_COMMON_PROGRAMS_FOLDER] = narrow(folder);
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = narrow(folder);
    findShellFolders();
    auto context = std::make_unique<InstallerContext>();
    determineInstallFolder(context.get());
    Text install = field(context->installFolder);
    return common ? field(commonProgramsFolder) : install.substr(0, install.rfind(u"\\QL\\"));
}
Text webAddress(const Text& address) {
    std::string bytes = narrow(address) + '\0';
    auto* stored = reinterpret_cast<uint8_t*>(bytes.data());
    scrambleAddress(stored, uint32_t(bytes.size()), WEB_ADDRESS_SEED);
    openWebAddress(stored, uint32_t(bytes.size()));
    auto opened = fake::eventsStartingWith("desktop shell opens ");
    return opened.empty() ? u"nothing opened" : Text(opened[0].begin() + 20, opened[0].end());
}
Text statusLabel(const Text& text) {
    auto context = std::make_unique<InstallerContext>();
    setStatusLabel(context.get(), narrow(text).c_str());
    char label[STATUS_LABEL_MAX + 1] = "busy";
    copyStatusLabel(context.get(), label);  // the writer cuts it too
    return strlen(context->statusLabel) == strlen(label) ? field(label) : u"uncut";
}

struct Limit {
    const char* field;
    size_t longest;  // characters that the field takes whole
    const char16_t* head;  // the source: this, then as many `fill` as its length asks for
    Text (*run)(const Text& source);  // what reached the field
    const char16_t* refused = nullptr;  // a longer source gives this; otherwise it is cut
    char16_t fill = u'x';
};
const Limit LIMITS[] = {
    {"name", 255, u"", [](const Text& s) { return field(enumerated(s, u"A").name); }},
    {"nameAnsi", 255, u"", [](const Text& s) { return field(enumerated(s, u"A").nameAnsi); }},
    // The MME device's product name holds 31 characters, in the device's capabilities.
    {"MME nameAnsi", 31, u"", [](const Text& s) {
         fake::state().waveIn = {{s}};
         initInventory();
         Text name = field(static_cast<const DeviceRecord*>(itemAt(&deviceInventory.inputDevices, 1))->nameAnsi);
         closeInventory();
         return name;
     }},
    {"interfaceName", 127, u"", [](const Text& s) { return field(enumerated(u"N", s).interfaceName); }},
    // 0xDC00 is the first low surrogate, no first half of a pair: the cut keeps it.
    {"description", 127, u"",
     [](const Text& s) { return field(stored("a45c254e-df1c-4efd-8020-67d146a850e0},2", s).description); },
     nullptr, u'\xDC00'},
    {"interfacePath", 511, u"\\",
     [](const Text& s) { return field(stored("233164c8-1b2c-4c7d-bc68-b671687a2567},1", u"{x}." + s).interfacePath); }},
    {"interfacePathAnsi", 511, u"\\",
     [](const Text& s) { return field(stored("233164c8-1b2c-4c7d-bc68-b671687a2567},1", u"{x}." + s).interfacePathAnsi); }},
    {"matchingDeviceId", 127, u"",
     [](const Text& s) { return field(stored("83da6326-97a6-4088-9453-a1923f573b29},3", u"a:" + s).matchingDeviceId); }},
    {"iconPath", 511, u"",
     [](const Text& s) { return field(stored("259abffc-50a7-47ce-af08-68c9a7d73366},12", s).iconPath); }},
    {"endpointKey", 63, u"{",
     [](const Text& s) {
         char16_t key[64];
         endpointKeyFromId((u"{0.0.0.00000000}." + s).c_str(), key);
         return field(key);
     }},
    // The VAIO naming's texts from the store, here stored without their terminator.
    {"store text", 1023, u"", [](const Text& s) {
         fake::setRegValue("HKLM\\k", "v", platform::RegType::string, fake::wideBytes(s).substr(0, 2 * s.size()));
         char16_t text[1024];
         return readProperty(u"k", u"v", text, 1024) ? field(text) : u"unread";
     }},
    {"shell folder", PATH_BYTES - 1, u"C:\\", [](const Text& s) { return shellFolder(s, true); }, u""},
    {"installFolder", PATH_BYTES - 1, u"C:\\", [](const Text& s) { return shellFolder(s, false); },
     u"C:\\Program Files"},
    {"web address", 511, u"", webAddress, u"nothing opened"},
    {"statusLabel", STATUS_LABEL_MAX, u"", statusLabel},
};

}  // namespace

TEST(TextLimits, EachFieldTakesItsLongestSourceWholeAndCutsOrRefusesOneMore) {
    for (const Limit& limit : LIMITS)
        for (size_t length : {limit.longest, limit.longest + 1}) {
            fake::reset();
            Text source = limit.head;
            source.resize(length, limit.fill);
            Text expected = length > limit.longest && limit.refused ? limit.refused
                                                                    : source.substr(0, limit.longest);
            EXPECT_TRUE(limit.run(source) == expected) << limit.field << ", " << length;
        }
    // A pair that the field would cut in two is left out whole, though the read stops at the field.
    EXPECT_TRUE(field(enumerated(Text(254, u'x') + u"\U0001F3B5", u"A").name) == Text(254, u'x'));
}
