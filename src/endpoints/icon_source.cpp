#include "endpoints/icon_source.h"

#include "endpoints/endpoint_properties.h"
#include "endpoints/wide_text.h"
#include "platform/platform.h"

namespace {
constexpr const char16_t* MME_SERVICE_KEY = u"SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIOMME";
constexpr const char16_t* MEDIA_CLASS_KEY =
    u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96C-E325-11CE-BFC1-08002BE10318}";
constexpr size_t NAME_CAPACITY = 512;
constexpr size_t LONGEST_NAME = 254;
constexpr size_t PATH_CAPACITY = 1024;

// "\SystemRoot\System32\x.sys" becomes "%windir%\System32\x.sys": the first component, which
// names the Windows folder, is dropped; a path with no second component is kept whole.
bool fromImagePath(char16_t (&out)[ICON_SOURCE_CAPACITY]) {
    char16_t image[PATH_CAPACITY];
    if (!readProperty(MME_SERVICE_KEY, u"ImagePath", image, PATH_CAPACITY)) return false;
    const char16_t* rest = image[0] == u'\\' ? image + 1 : image;
    while (*rest && *rest != u'\\') ++rest;
    rest = *rest ? rest + 1 : image;
    out[0] = 0;
    return appendText(out, u"%windir%\\") && appendText(out, rest);
}

bool fromMediaClass(char16_t (&out)[ICON_SOURCE_CAPACITY]) {
    platform::Handle root = platform::regRoot(platform::RegRoot::localMachine);
    platform::Handle classKey = platform::regOpenWide(root, MEDIA_CLASS_KEY, platform::regLegacy);
    if (!classKey) return false;
    char16_t name[NAME_CAPACITY], path[PATH_CAPACITY], text[PATH_CAPACITY];
    bool found = false, named = false;
    for (uint32_t index = 0;
         !found && platform::regEnumSubkeyWide(classKey, index, name, NAME_CAPACITY) ==
                       platform::EnumResult::ok;
         ++index) {
        path[0] = 0;
        if (wideLength(name) > LONGEST_NAME || !appendText(path, MEDIA_CLASS_KEY) ||
            !appendText(path, u"\\") || !appendText(path, name))
            continue;
        found =
            readProperty(path, u"MatchingDeviceId", text, PATH_CAPACITY) && isVaioServiceName(text);
    }
    platform::regClose(classKey);
    if (found && readProperty(path, u"Driver", text, PATH_CAPACITY)) {
        out[0] = 0;
        named = appendText(out, u"%windir%\\system32\\Drivers\\") && appendText(out, text);
    }
    return named;
}
}  // namespace

bool findIconSource(char16_t (&out)[ICON_SOURCE_CAPACITY]) {
    return fromImagePath(out) || fromMediaClass(out);
}
