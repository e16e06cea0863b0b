// The device lists, the enumeration against an in-memory system of MME devices, endpoints and
// endpoint store, and the device-name scan.
#include "devices/inventory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "devices/endpoint_store.h"
#include "platform/fake/fake_platform.h"
#include "ui/preinstall_checks.h"

namespace {

using platform::RegType;
const std::string STORE = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\";
const std::string FRIENDLY = "{a45c254e-df1c-4efd-8020-67d146a850e0},14";
const std::string ADAPTER = "{026e516e-b814-414b-83cd-856d6fef4822},2";
const char* DESCRIPTION = "{a45c254e-df1c-4efd-8020-67d146a850e0},2";
const char* STORE_ADAPTER = "{b3f8fa53-0004-438e-9003-51a46e139bfc},6";
const char* ENDPOINT_FORMAT = "{e4870e26-3cc5-4cd2-ba46-ca0a9a70ed04},0";
const std::string CAPTURE_BOOL = "{24dbb0fc-9311-4b3d-9cf0-18ff155639d4},1";

// A value of an endpoint's properties; endpoint: "Render\\{key}" or "Capture\\{key}".
void storeValue(const std::string& endpoint, const char* name, RegType type, std::string data) {
    fake::setRegValue(STORE + endpoint + "\\Properties", name, type, data);
}
void storeText(const std::string& endpoint, const char* name, std::u16string text) {
    storeValue(endpoint, name, RegType::string, fake::wideBytes(text));
}
fake::Endpoint endpoint(const std::u16string& id, const std::u16string& name,
                        const std::u16string& adapter) {
    return {id, {{FRIENDLY, {.text = name}}, {ADAPTER, {.text = adapter}}}};
}
const DeviceRecord& item(const DeviceList& list, int32_t index) {
    return *static_cast<const DeviceRecord*>(itemAt(&list, index));
}

class Inventory : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override {
        closeInventory();
        EXPECT_EQ(fake::leftOpen(), "");
    }
};

}  // namespace

TEST_F(Inventory, ListGrowsInStepsAndAFailedGrowthRefusesOnlyTheNewItem) {
    DeviceList list;
    DeviceRecord record{};
    createList(&list, 4096);  // two items fill the first block exactly, the third grows it
    for (uint32_t capacity : {8192u, 8192u, 40960u})
        EXPECT_TRUE(appendItem(&list, &record) && list.capacityBytes == capacity) << capacity;
    destroyList(&list);
    createList(&list, sizeof(DeviceRecord));
    fake::state().failing.insert("reallocateMemory:73728");  // the third block
    for (int32_t i = 1; i <= 10; ++i) {
        record.deviceIndex = i;
        EXPECT_EQ(appendItem(&list, &record) != nullptr, i < 10) << i;
        EXPECT_EQ(list.capacityBytes, i == 1 ? 8192u : 40960u) << i;
        EXPECT_EQ(list.freeBytes, list.capacityBytes - list.count * sizeof record) << i;
    }
    ASSERT_TRUE(list.count == 9 && itemAt(&list, 0) == nullptr && itemAt(&list, 10) == nullptr);
    for (int32_t i = 1; i <= 9; ++i) EXPECT_EQ(item(list, i).deviceIndex, i);
    fake::state().failing = {"allocateMemory:8192"};
    EXPECT_TRUE(appendItem(&list, &record) && list.capacityBytes == 73728u);  // grows again
    destroyList(&list);
    createList(&list, sizeof record);  // its first block cannot be had
    resetList(&list);
    EXPECT_TRUE(appendItem(&list, &record) == nullptr && itemAt(&list, 1) == nullptr);
    EXPECT_EQ(list.capacityBytes + list.freeBytes, 0u);
}

TEST_F(Inventory, SortMatchesAReferenceOrderKeepsEveryRecordAndReusesItsScratch) {
    std::mt19937 random(7);
    DeviceList list;
    createList(&list, sizeof(DeviceRecord));
    auto key = [](const DeviceRecord& r) {
        return std::make_pair((r.kind & 0xFFFF) == KIND_MME, std::u16string(r.name));
    };
    for (int size : {0, 1, 2, 3, 5, 8, 9, 16, 17, 31, 64, 100, 100}) {
        if (list.sortScratchBytes >= 64 * sizeof(DeviceRecord))  // the second list of 100
            fake::state().failing.insert("allocateMemory:*");
        resetList(&list);
        for (int i = 0; i < size; ++i) {
            DeviceRecord record{};
            record.deviceIndex = i;
            record.kind = random() % 2 ? KIND_MME_IN : KIND_ENDPOINT;
            for (uint32_t n = random() % 4; n > 0; --n) record.name[n - 1] = u"AZa\1"[random() % 4];
            appendItem(&list, &record);
        }
        EXPECT_EQ(list.usedBytes + list.freeBytes, list.capacityBytes) << size;  // a reset too
        ASSERT_EQ(sortList(&list, compareDevices), 1) << size;
        std::vector<bool> seen(size);  // in order by the reference key, and every record once
        for (int i = 1; i <= size; ++i) {
            EXPECT_TRUE(i == 1 || key(item(list, i - 1)) <= key(item(list, i))) << size;
            seen[item(list, i).deviceIndex] = true;
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), true), size);
    }
    // 129 records need a scratch of 128, which cannot be had now: left partly sorted.
    const DeviceRecord blank{};
    while (list.count < 129) appendItem(&list, &blank);
    EXPECT_TRUE(sortList(&list, compareDevices) == 0 && list.count == 129);
    EXPECT_EQ(compareDevices(&blank, itemAt(&list, 129)), 0);  // equal names
    destroyList(&list);
}

using Match = std::pair<int32_t, std::u16string>;  // the result and the key tied to

static Match matchRender(const char16_t* mmeName) {
    DeviceRecord record{};
    std::u16string(mmeName).copy(record.name, 255);
    int32_t result = matchEndpoint(&record, u"Render", MME_READS);
    return {result, record.endpointKey};
}

TEST_F(Inventory, MmeNamesMatchEndpointsThroughTheStore) {
    storeText("Render\\{K0}", DESCRIPTION, u"Line");  // no adapter name: skipped
    storeText("Render\\{K1}", DESCRIPTION, u"Speakers");
    storeText("Render\\{K1}", STORE_ADAPTER, u"High Definition Audio Device");
    storeText("Render\\{K2}", DESCRIPTION, u"Line");
    storeText("Render\\{K2}", STORE_ADAPTER, u"Box");
    EXPECT_EQ(matchRender(u"Speakers (High Definition Audio"), (Match{0, u"{k1}"}));
    EXPECT_EQ(matchRender(u"Line(Box)"), (Match{0, u"{k2}"}));
    EXPECT_EQ(matchRender(u"Line 1"), (Match{-2, u""}));
    EXPECT_EQ(matchRender(u""), (Match{0, u"{k1}"}));  // the first key with both values
    // An empty direction key in the default view: the store is in the 64-bit view only.
    fake::setRegValue("HKLM\\SOFTWARE\\WOW6432Node" + STORE.substr(13) + "Render", "x",
                      RegType::dword, "1234");
    EXPECT_EQ(matchRender(u"Line(Box)"), (Match{0, u"{k2}"}));
    fake::reset();  // no store in either view
    EXPECT_EQ(matchRender(u"Line"), (Match{-1, u""}));
}

TEST_F(Inventory, EndpointPropertiesFromTheStore) {
    auto capture = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\Capture";
    const std::string E = "Capture\\{E}";
    std::u16string notes;  // 32 pairs: one too many for the 127 bytes of their ANSI copy
    while (notes.size() < 64) notes += u"\U0001F3B5";
    storeText(E, "{83da6326-97a6-4088-9453-a1923f573b29},3", u"a.inf:Section:" + notes);
    // 511 units of the path, then whole characters of its ANSI copy; 4,096 bytes in all
    storeText(E, "{233164c8-1b2c-4c7d-bc68-b671687a2567},1",
              u"{x}.\\" + std::u16string(2042, u'\u00e9'));
    storeValue(E, "{259abffc-50a7-47ce-af08-68c9a7d73366},12", RegType::string,
               std::string(4097, 'i'));  // over
    // A flag value of 0 clears its "set" flag; one that is not a DWORD counts as absent.
    storeValue(E, "{b3f8fa53-0004-438e-9003-51a46e139bfc},3", RegType::dword, std::string(4, '\0'));
    storeValue(E, "{b3f8fa53-0004-438e-9003-51a46e139bfc},4", RegType::string, "x");
    // Stored without its terminator: read to its end and no further.
    storeValue(E, DESCRIPTION, RegType::string,
               fake::wideBytes(std::u16string(100, u'd')).substr(0, 200));
    // 126 units of text, then a pair (0xD800 0xDC00) that does not fit the 128-unit field.
    storeText(E, STORE_ADAPTER, std::u16string(126, u'\u00e9') + u"\U00010000");
    storeValue(E, "{1da5d803-d492-4edd-8c23-e0c0ffee7f0e},0", RegType::dword,
               std::string("\3\0\0\0", 4));
    DeviceRecord record;
    for (size_t size : {47, 48, 255, 256}) {  // the formats are taken from 48 to 255 bytes
        std::string value(size, '\0');
        value[10] = 7;  // nChannels of the format head, 8 bytes into the value
        for (auto format : {"{f19f064d-082c-4e27-bc73-6882a1bb8e4c},0", ENDPOINT_FORMAT})
            storeValue(E, format, RegType::binary, value);  // the device's and the endpoint's
        record = {};  // the first flag is kept; the other is set or cleared
        record.flags = FLAG_CAPTURE_BOOL | (size > 200 ? 0u : FLAG_LONG_BINARY);
        storeValue(E, "{fd8a7b27-0b18-4025-ab1c-bdd6b32e1604},2", RegType::binary,
                   std::string(size > 200 ? 11 : 10, 'x'));  // more than 10 bytes sets it
        readEndpointProperties(&record, u"{E}", capture, MME_READS);
        EXPECT_EQ(record.deviceFormat[2] + record.endpointFormat[2],
                  size == 48 || size == 255 ? 14 : 0) << size;
        EXPECT_EQ(record.flags & FLAG_LONG_BINARY, size > 200 ? FLAG_LONG_BINARY : 0u) << size;
    }
    EXPECT_EQ(record.formFactor, 3u);
    // A binary read of a key that cannot be opened, a value of another type, a missing value.
    const std::u16string properties = capture + std::u16string(u"\\{E}\\Properties");
    uint8_t bytes[1024];
    for (auto [key, name, size] :
         {std::tuple{u"no key", u"x", 0},
          {properties.c_str(), u"{b3f8fa53-0004-438e-9003-51a46e139bfc},4", -1},
          {properties.c_str(), u"x", -2}})
        EXPECT_EQ(readRegBinary(key, name, bytes), size) << size;
    EXPECT_EQ(std::string(record.matchingDeviceId), fake::repeated("\U0001F3B5", 31));
    // The fake's code page is UTF-8.
    EXPECT_EQ(std::string(record.interfacePathAnsi), std::string("\\") + fake::repeated("\u00e9", 255));
    EXPECT_EQ(record.flags, 0x100u | 0x10 | 0x80 | 0x200);
    EXPECT_EQ(std::u16string(record.description), std::u16string(100, u'd'));
    EXPECT_EQ(record.iconPath[0], 0);
    EXPECT_EQ(std::u16string(record.interfaceName), std::u16string(126, u'\u00e9'));
}

TEST_F(Inventory, EnumeratesEndpointsAndMmeDevicesAndLeavesOutWhatCannotBeRead) {
    auto& state = fake::state();
    state.renderEndpoints = {
        endpoint(std::u16string(600, u'0') + u"{0.0.0.00000000}.{R1-QLOrvalo-Out}",  // its end
                 u"QLOrvalo Out (Virtual Cable)", u"VC"),
        endpoint(u"{0.0.0.00000000}.{0123456789abcd}", u"Speakers", u"HDA"),  // tail of 16
        endpoint(u"{0.0.0.00000000}.{R3-failing-store}", u"Gone", u"x"),
        endpoint(u"{0.0.0.00000000}.{R4-no-name-value}", u"Gone", u"x"),
        endpoint(u"0.0.0.00000000.R5-not-a-string-and-no-brace", u"", u"x"),
        endpoint(u"{0.0.0.00000000}.{R6-no-adapter}", u"Gone", u"x"),
        endpoint(u"{0.0.0.00000000}.{R7-no-item}", u"Gone", u"x")};
    state.renderEndpoints[2].storeFails = true;
    state.renderEndpoints[3].properties[FRIENDLY].kind = fake::PropertyValue::Kind::failing;
    state.renderEndpoints[4].properties[FRIENDLY].kind = fake::PropertyValue::Kind::other;
    state.renderEndpoints[5].properties[ADAPTER].kind = fake::PropertyValue::Kind::failing;
    state.renderEndpoints[6].itemFails = true;
    state.captureEndpoints = {endpoint(u"{0.0.1.00000000}.{C1-capture-endpoint}", u"Mic", u"A"),
                              endpoint(u"{0.0.1.00000000}.{C2-capture-endpoint}", u"Line", u"A")};
    for (int16_t value : {-1, 1})  // only VARIANT_TRUE counts
        state.captureEndpoints[value < 0 ? 0 : 1].properties[CAPTURE_BOOL] = {
            fake::PropertyValue::Kind::boolean, u"", value};
    state.waveOut = {{u"QLOrvalo Out (Virtual Cable", 2}, {u"Broken", 2, true}, {u"Alone", 6}};
    state.waveIn = {{u"Mic", 1}};
    storeText("Render\\{R1-QLOrvalo-Out}", "{83da6326-97a6-4088-9453-a1923f573b29},3", u"x:VC");
    storeValue("Render\\{R1-QLOrvalo-Out}", "{f19f064d-082c-4e27-bc73-6882a1bb8e4c},0",
               RegType::binary, std::string(10, '\0') + "\6\1" + std::string(36, '\0'));
    storeText("Capture\\{C1-capture-endpoint}", "{83da6326-97a6-4088-9453-a1923f573b29},3", u"x:M");
    storeText("Render\\{sp}", DESCRIPTION, u"Speakers");  // found by the walk
    storeText("Render\\{sp}", STORE_ADAPTER, u"HDA 2");  // an endpoint keeps its own
    initInventory();

    const DeviceList& out = deviceInventory.outputDevices;
    ASSERT_TRUE(out.count == 5 && deviceInventory.endpointCountOut == 3);
    const std::u16string order[] = {u"", u"QLOrvalo Out (Virtual Cable)", u"Speakers", u"Alone",
                                    u"QLOrvalo Out (Virtual Cable"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(item(out, i + 1).name, order[i]) << i;
    EXPECT_EQ(std::u16string(item(out, 3).endpointKey) + u" " + item(out, 3).interfaceName,
              u"{sp} HDA");  // id tail too short
    EXPECT_EQ(item(out, 3).deviceIndex, 1);
    EXPECT_EQ(item(out, 2).channels, 262u);  // an endpoint's, from its device format
    const DeviceRecord& mme = item(out, 5);  // tied by the fallback over the endpoints
    EXPECT_EQ(std::u16string(mme.endpointKey), u"{R1-QLOrvalo-Out}");
    EXPECT_STREQ(mme.matchingDeviceId, "VC");
    EXPECT_TRUE(mme.kind == KIND_MME && mme.deviceIndex == 0 && mme.channels == 2);
    EXPECT_TRUE(item(out, 4).flags == 0 && item(out, 4).deviceIndex == 2);  // "Alone": no match
    const DeviceList& in = deviceInventory.inputDevices;
    EXPECT_TRUE(item(in, 2).kind == 0x100004 && std::string(item(in, 2).nameAnsi) == "Mic");
    EXPECT_EQ(item(in, 2).flags & FLAG_CAPTURE_BOOL, FLAG_CAPTURE_BOOL);
    EXPECT_EQ(item(in, 1).flags & FLAG_CAPTURE_BOOL, 0u);  // "Line", sorted before it
    // The endpoint's own properties; the MME input device's, tied by the fallback over the
    // capture endpoints.
    EXPECT_EQ(std::string(item(in, 2).matchingDeviceId) + item(in, 3).matchingDeviceId, "MM");

    closeInventory();
    state.failing = {"endpointCount:render", "activeEndpoints:capture"};
    initInventory();
    EXPECT_EQ(deviceInventory.endpointCountOut + deviceInventory.endpointCountIn, 0);
    closeInventory();
    state.failing.clear();
    state.missingKernelExports = {"CreateEventExA"};  // before the endpoint API: MME only
    // MME devices come through the system folder's WINMM, loaded once for both directions;
    // without the library or one of its functions, those devices are left out.
    const std::string path = state.systemFolder + "\\WINMM.DLL", winmm = fake::lower(path);
    const fake::ScriptedModule system = state.modules[winmm];
    for (auto [missing, outputs, inputs] : {std::tuple{"", 2, 1}, {"waveOutGetDevCapsW", 0, 1},
                                            {"waveInGetNumDevs", 2, 0}, {"*", 0, 0}}) {
        closeInventory();
        state.events.clear();
        state.modules[winmm] = system;
        state.modules[winmm].exports.erase(missing);
        if (*missing == '*') state.modules.erase(winmm);
        initInventory();
        EXPECT_EQ(deviceInventory.outputDevices.count, outputs) << missing;
        EXPECT_EQ(deviceInventory.inputDevices.count, inputs) << missing;
        std::vector<std::string> loads(*missing != '*', "load " + path);
        EXPECT_EQ(fake::eventsStartingWith("load "), loads) << missing;
    }
    // COM as the main thread left it: started already (S_FALSE, to be balanced all the same),
    // not started, or refused, which leaves nothing to balance.
    for (auto [started, refused] : {std::pair{1, false}, {0, false}, {1, true}}) {
        closeInventory();
        state.comStarts = started;
        if (refused) state.failing.insert("coInitialize:*");
        initInventory();
        closeInventory();
        EXPECT_EQ(state.comStarts, started) << refused;
    }
}

// The scan's code with a device of that name and adapter among the inputs or the outputs.
static int32_t scan(bool output, const char16_t* name, const char16_t* adapter) {
    closeInventory();  // the previous scan's
    fake::reset();
    auto& endpoints = output ? fake::state().renderEndpoints : fake::state().captureEndpoints;
    endpoints.push_back(endpoint(u"{0.0.0.00000000}.{E}", u"Speakers", u"HDA"));
    endpoints.push_back(endpoint(u"{0.0.0.00000000}.{F}", name, adapter));
    if (!output)  // inputs are scanned first
        fake::state().renderEndpoints.push_back(endpoint(u"{R}", u"QLOrvalo", u""));
    initInventory();
    return deviceNameScan();
}

TEST_F(Inventory, DeviceNameScanCodesWhereAndInWhichDirectionTheNameWasFound) {
    EXPECT_EQ(scan(false, u"Quillon Orvalo", u"A Quillon Orvalo B"), 1);  // both: the first test
    EXPECT_EQ(scan(false, u"Quillon Orvalo", u"QLOrvalo"), 2);
    EXPECT_EQ(scan(false, u"QLOrvalo", u"QLOrvalo"), 3);
    EXPECT_EQ(scan(false, u"QLOrvalo VAIO", u""), 4);
    EXPECT_EQ(scan(true, u"x", u"Quillon Orvalo"), 11);
    EXPECT_EQ(scan(true, u"Quillon Orvalo 1", u""), 12);
    EXPECT_EQ(scan(true, u"", u"xQLOrvalo"), 13);
    EXPECT_EQ(scan(true, u"QLOrvalo", u""), 14);
    EXPECT_EQ(scan(true, u"quillon orvalo", u"QLORVALO"), 0);
}
