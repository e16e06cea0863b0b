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
#include "install/install_folder.h"
#include "platform/fake/fake_platform.h"
#include "ui/web_address.h"

namespace {

using Text = std::u16string;

// The field up to its terminator; a field without one reads as "unterminated".
template <size_t N, typename Char>
Text field(const Char (&out)[N]) {
    Text text;
    for (size_t i = 0; i < N && out[i]; ++i)
        text += char16_t(static_cast<std::make_unsigned_t<Char>>(out[i]));
    return text.size() < N ? text : u"unterminated";
}
std::string narrow(const Text& text) { return std::string(text.begin(), text.end()); }

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
    fake::setRegValue("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\Render"
                      "\\{E}\\Properties",
                      std::string("{") + value, platform::RegType::string, fake::wideBytes(text));
    DeviceRecord record{};
    readEndpointProperties(&record, u"{E}",
                           u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\Render",
                           MME_READS);
    return record;
}
Text shellFolder(int csidl, const Text& folder) {
    fake::state().shellFolders[csidl] = narrow(folder);
    auto context = std::make_unique<InstallerContext>();
    determineInstallFolder(context.get());
    findShellFolders();
    return csidl == platform::CSIDL_COMMON_PROGRAMS_FOLDER ? field(commonProgramsFolder)
                                                           : field(context->installFolder);
}

struct Limit {
    const char* field;
    size_t longest;  // characters that the field takes whole
    bool cut;        // a longer source is cut to `longest`; otherwise it is refused
    const char16_t* head;  // the source: this, then as many `fill` as its length asks for
    Text (*run)(const Text& source);  // what reached the field
    char16_t fill = u'x';
};
const Limit LIMITS[] = {
    {"name", 255, true, u"", [](const Text& s) { return field(enumerated(s, u"A").name); }},
    {"nameAnsi", 255, true, u"", [](const Text& s) { return field(enumerated(s, u"A").nameAnsi); }},
    {"interfaceName", 127, true, u"", [](const Text& s) { return field(enumerated(u"N", s).interfaceName); }},
    // 0xDC00 is the first low surrogate, no first half of a pair: the cut keeps it.
    {"description", 127, true, u"",
     [](const Text& s) { return field(stored("a45c254e-df1c-4efd-8020-67d146a850e0},2", s).description); },
     u'\xDC00'},
    {"interfacePath", 511, true, u"\\",
     [](const Text& s) { return field(stored("233164c8-1b2c-4c7d-bc68-b671687a2567},1", u"{x}." + s).interfacePath); }},
    {"interfacePathAnsi", 511, true, u"\\",
     [](const Text& s) { return field(stored("233164c8-1b2c-4c7d-bc68-b671687a2567},1", u"{x}." + s).interfacePathAnsi); }},
    {"matchingDeviceId", 127, true, u"",
     [](const Text& s) { return field(stored("83da6326-97a6-4088-9453-a1923f573b29},3", u"a:" + s).matchingDeviceId); }},
    {"iconPath", 511, true, u"",
     [](const Text& s) { return field(stored("259abffc-50a7-47ce-af08-68c9a7d73366},12", s).iconPath); }},
    {"endpointKey", 63, true, u"{",
     [](const Text& s) {
         char16_t key[64];
         endpointKeyFromId((u"{0.0.0.00000000}." + s).c_str(), key);
         return field(key);
     }},
    {"shell folder", PATH_BYTES - 1, false, u"C:\\",
     [](const Text& s) { return shellFolder(platform::CSIDL_COMMON_PROGRAMS_FOLDER, s); }},
    // Without the shell's folder, the install goes to the Windows drive's.
    {"installFolder", PATH_BYTES - 1, false, u"C:\\",
     [](const Text& s) {
         Text folder = shellFolder(platform::CSIDL_PROGRAM_FILES_FOLDER, s);
         return folder == u"C:\\Program Files\\QL\\QuillonOrvalo" ? u"" : folder.substr(0, s.size());
     }},
    {"web address", 511, false, u"",
     [](const Text& s) {
         std::string bytes = narrow(s) + '\0';
         auto* stored = reinterpret_cast<uint8_t*>(bytes.data());
         scrambleAddress(stored, uint32_t(bytes.size()), WEB_ADDRESS_SEED);
         openWebAddress(stored, uint32_t(bytes.size()));
         auto opened = fake::eventsStartingWith("desktop shell opens ");
         return opened.empty() ? u"" : Text(opened[0].begin() + 20, opened[0].end());
     }},
    {"statusLabel", STATUS_LABEL_MAX, true, u"",
     [](const Text& s) {
         auto context = std::make_unique<InstallerContext>();
         setStatusLabel(context.get(), narrow(s).c_str());
         char label[STATUS_LABEL_MAX + 1] = "busy";
         copyStatusLabel(context.get(), label);  // the writer cuts it too
         return strlen(context->statusLabel) == strlen(label) ? field(label) : u"uncut";
     }},
};

}  // namespace

TEST(TextLimits, EachFieldTakesItsLongestSourceWholeAndCutsOrRefusesOneMore) {
    for (const Limit& limit : LIMITS)
        for (size_t length : {limit.longest, limit.longest + 1}) {
            fake::reset();
            Text source = limit.head;
            source.resize(length, limit.fill);
            Text expected = length == limit.longest ? source
                            : limit.cut             ? source.substr(0, limit.longest)
                                                    : u"";
            EXPECT_TRUE(limit.run(source) == expected) << limit.field << ", " << length;
        }
}
