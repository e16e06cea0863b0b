// The VAIO configuration step on the in-memory Windows: the device search, the pin wait on
// the virtual clock, and the naming of the driver's endpoints in the endpoint store.
#include "endpoints/vaio_configuration.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/context.h"
#include "app/status_label.h"
#include "endpoints/endpoint_naming.h"
#include "endpoints/icon_source.h"
#include "platform/fake/fake_platform.h"
#include "ui/taskbar_progress.h"

namespace {

const std::string STORE = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\";
const std::string MME_SERVICE = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIOMME";
const std::string MEDIA_CLASS =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96C-E325-11CE-BFC1-08002BE10318}";
const char* const NAME = "{a45c254e-df1c-4efd-8020-67d146a850e0},2";
const char* const ICON = "{259abffc-50a7-47ce-af08-68c9a7d73366},12";
const char* const SERVICE = "{83da6326-97a6-4088-9453-a1923f573b29},3";
const std::string STORE32 = "HKLM\\SOFTWARE\\WOW6432Node" + STORE.substr(13);  // default view

void setWide(const std::string& key, const std::string& name, const std::string& text) {
    std::u16string wide(text.begin(), text.end());
    fake::setRegValue(key, name, platform::RegType::string, fake::wideBytes(wide));
}

std::string readWide(const std::string& key, const std::string& name) {  // "" when missing
    std::string text;
    const auto* values = fake::key(key);
    if (values && values->count(fake::lower(name)))
        for (char c : values->at(fake::lower(name)).data) text += c ? std::string(1, c) : "";
    return text;
}

class VaioConfiguration : public ::testing::Test {
protected:
    std::unique_ptr<InstallerContext> context = std::make_unique<InstallerContext>();
    // The driver's answer for pin 0-15 at its reading 0, 1, 2, ...
    std::function<uint32_t(int pin, int reading)> pinValue = [](int, int) { return 6000u; };
    // The bytes it answers of the 416 asked for (-1: the request fails).
    std::function<int32_t(int stream, int reading)> answers = [](int, int) { return 416; };
    std::vector<std::string> labels;  // each label seen by the step's calls, in turn

    void SetUp() override {
        fake::reset();
        setStatusLabel(context.get(), "Configure VAIOs");
        setWide(MME_SERVICE, "ImagePath", "\\SystemRoot\\System32\\drivers\\vaio.sys");
        fake::state().deviceOpen = platform::DeviceOpen::opened;
        // Like our driver, it starts its pins at the first query: until then they read 0.
        fake::state().deviceControl = [this, reading = -1, queried = false](
                                          uint32_t code, const void* in, uint32_t, void* out,
                                          uint32_t) mutable {
            queried |= code == 0x222040;
            if (code == 0x222040) return 4;
            int stream = int(*static_cast<const uint32_t*>(in));
            reading += stream == 0;
            int32_t answered = code == 0x222050 ? answers(stream, reading) : -1;
            auto* record = static_cast<uint32_t*>(out);  // the pins at bytes 16 and 28
            if (answered >= 20 && queried) record[4] = pinValue(2 * stream, reading);
            if (answered >= 32 && queried) record[7] = pinValue(2 * stream + 1, reading);
            return answered;
        };
        fake::state().onEvent = [this](const std::string&) {
            char label[STATUS_LABEL_MAX + 1];
            copyStatusLabel(context.get(), label);
            if (labels.empty() || labels.back() != label) labels.push_back(label);
        };
    }
    void TearDown() override { EXPECT_EQ(fake::leftOpen(), ""); }
    // Runs the step; gives the number of one-second polling cycles it waited.
    uint64_t pollingCycles(int32_t expected = 0) {
        uint64_t begin = fake::state().clockMs;
        EXPECT_EQ(configureVaio(context.get()), expected);
        // Less 1 s before the search, 1 s before its first attempt, 5 s before the naming.
        return (fake::state().clockMs - begin - 7000) / 1000;
    }
    void endpoint(const std::string& flow, const std::string& id, const std::string& service,
                  const std::string& path = "", bool known = true) {
        std::string key = STORE + flow + "\\" + id + "\\Properties";
        setWide(key, SERVICE, "x.inf:Section:" + service);
        if (!path.empty()) setWide(key, "{233164c8-1b2c-4c7d-bc68-b671687a2567},1", path);
        if (known) device(flow + "\\" + id);
    }
    // The audio service's device of a store key ("Render\\{1}"), made when it has none.
    fake::Endpoint& device(const std::string& endpoint) {
        bool capture = endpoint.starts_with("Capture");
        auto& devices = capture ? fake::state().captureEndpoints : fake::state().renderEndpoints;
        std::string id = (capture ? "{0.0.1.00000000}." : "{0.0.0.00000000}.") +
                         endpoint.substr(endpoint.find('\\') + 1);
        for (auto& known : devices)
            if (known.id == std::u16string(id.begin(), id.end())) return known;
        return devices.emplace_back(fake::Endpoint{std::u16string(id.begin(), id.end()), {}});
    }
    std::string named(const std::string& endpoint) {  // as the device store holds them
        auto& properties = device(endpoint).properties;
        std::u16string text = properties[NAME].text + u"|" + properties[ICON].text;
        return std::string(text.begin(), text.end());
    }
    std::string written(const std::string& endpoint, const std::string& store = STORE) {
        std::string key = store + endpoint + "\\Properties";
        return readWide(key, NAME) + "|" + readWide(key, ICON);
    }
};

using Labels = std::vector<std::string>;

}  // namespace

TEST_F(VaioConfiguration, PinsThatMoveOrStayLowAreNotReadyAndStallTheWaitForAMinute) {
    pinValue = [](int pin, int reading) {  // pin 2: ready from the second cycle on
        return pin == 3 ? 5000u + reading : pin == 12 ? 4999u : pin == 2 && !reading ? 0 : 5000u;
    };
    // After the first cycle stream 5 fails and stream 6 answers its first pin only: both keep
    // their last values, ready. Stream 0 answers its two pins and no more, which is enough.
    answers = [](int stream, int reading) {
        return stream == 0 ? 32 : reading < 2 ? 416 : stream == 5 ? -1 : stream == 6 ? 31 : 416;
    };
    EXPECT_EQ(pollingCycles(), 63u);  // a minute from the second cycle, which made it 14
    EXPECT_EQ(labels, (Labels{"Configure VAIOs", "13/16 Pin(s) Ok", "14/16 Pin(s) Ok",
                              "Set Pin Name/Icon"}));
    // The taskbar's bar moves on with each, the pin counts between the two steps.
    TaskbarProgress bar = progressAfterLabel({}, "Create Shortcuts");
    for (const std::string& label : labels) {
        TaskbarProgress next = progressAfterLabel(bar, label.c_str());
        EXPECT_GT(next.completed, bar.completed) << label;
        bar = next;
    }
    // Half the pins is half their step, all of them the next step; other labels move nothing.
    auto at = [](const char* label) { return progressAfterLabel({}, label).completed; };
    EXPECT_EQ(2 * at("8/16 Pin(s) Ok"), at("Configure VAIOs") + at("Set Pin Name/Icon"));
    EXPECT_EQ(at("16/16 Pin(s) Ok"), at("Set Pin Name/Icon"));
    bar = progressAfterLabel({}, "Copy Files");
    for (const char* other : {"", "17/16 Pin(s) Ok", "0/0 Pin(s) Ok", "/16 Pin(s) Ok",
                              "16/16 Pin(s) Ok!", "16:16 Pin(s) Ok"})
        EXPECT_EQ(progressAfterLabel(bar, other), bar) << other;
}

TEST_F(VaioConfiguration, NoPinEverReadyKeepsTheLabelForAMinuteAcrossATickWrap) {
    pinValue = [](int, int reading) { return 4000u + reading; };
    fake::state().clockMs = 0xFFFFFFFFull - 30000;
    EXPECT_EQ(pollingCycles(), 61u);
    EXPECT_EQ(labels, (Labels{"Configure VAIOs", "Set Pin Name/Icon"}));
}

TEST_F(VaioConfiguration, AReadyCountThatKeepsChangingEndsAtTenMinutes) {
    pinValue = [](int pin, int reading) {
        return pin == 1 ? 6000u + (reading / 2) % 2 : 6000u * (pin == 0);
    };
    EXPECT_EQ(pollingCycles(), 600u);
}

TEST_F(VaioConfiguration, DeviceNeverFoundGivesUpAfterAboutTwentyFiveSecondsNamingNothing) {
    fake::state().deviceOpen = platform::DeviceOpen::openFailed;
    endpoint("Render", "{a}", "QLOrvaloVAIO");
    EXPECT_EQ(configureVaio(context.get()), -1);
    EXPECT_EQ(fake::state().clockMs, 26000u);
    EXPECT_TRUE(fake::eventsStartingWith("reg ").empty());
}

TEST_F(VaioConfiguration, NamesTheDriversEndpointsThroughTheirDevicesCarryingNumbersOver) {
    // An empty Render key in the default view: the store is in the 64-bit view.
    fake::setRegValue(STORE32 + "Render", "x", platform::RegType::dword, "1234");
    endpoint("Render", "{1}", "QLOrvaloVAIO");
    endpoint("Render", "{2}", "qlorvalovaio", "0009");  // too short: counts on
    endpoint("Render", "{3}", "QLOrvaloVAIOX", "\\x#0007");
    endpoint("Capture", "{1}", "QLORVALOVAIO", "#0113");  // every digit counts
    endpoint("Capture", "{2}", "QLOrvaloVAIO", "\\x#0000");  // 0 is no number either
    // Without a device the key is written, which the audio service refuses: two more refusals.
    endpoint("Capture", "{3}", "QLOrvaloVAIO", "#0009", false);
    // A refused write is counted and the other writes are still made.
    fake::state().failing.insert("endpointSet:{0.0.1.00000000}.{1}\\" + std::string(ICON));
    EXPECT_EQ(pollingCycles(-1), 1u);  // all pins ready in the first cycle: no more waiting
    EXPECT_EQ(labels, (Labels{"Configure VAIOs", "16/16 Pin(s) Ok", "Set Pin Name/Icon"}));
    const std::string icon = "%windir%\\System32\\drivers\\vaio.sys,-";
    EXPECT_EQ(named("Render\\{1}"), "QLOrvalo In 1|" + icon + "201");
    EXPECT_EQ(named("Render\\{2}"), "QLOrvalo In 2|" + icon + "202");
    EXPECT_EQ(named("Render\\{3}"), "|");
    EXPECT_EQ(named("Capture\\{1}"), "QLOrvalo Out 113|");
    EXPECT_EQ(named("Capture\\{2}"), "QLOrvalo Out 114|" + icon + "414");
    EXPECT_EQ(fake::key(STORE32 + "Render\\{1}\\Properties"), nullptr);
    EXPECT_EQ(nameEndpoints(u"Capture", u"QLOrvalo Out", 300), -3);
}

// Without the device API the endpoints are written in their keys, where that is allowed (as
// under Wine). In the default view a property key that only the 64-bit view holds is created for the
// writes, and a key name of 255 characters is passed over. A write refused in the Render pass
// does not fail the step, nor does a Capture key in neither view. The device comes up late.
TEST_F(VaioConfiguration, DefaultViewSkipsLongNamesAndOnlyTheCapturePassDecides) {
    fake::state().audioServiceOwnsStore = false;
    fake::state().failing.insert("createDeviceEnumerator:*");
    fake::setRegValue(STORE32 + "Render\\{1}\\Properties", SERVICE, platform::RegType::string,
                      fake::wideBytes(u"QLOrvaloVAIO").substr(0, 24));  // no ":", no terminator
    fake::setRegValue(STORE32 + "Render\\{2}", "x", platform::RegType::dword, "1234");
    endpoint("Render", "{2}", "QLOrvaloVAIO", "#0001");  // a number of 1 is taken too
    for (size_t length : {254, 255})
        setWide(STORE32 + "Render\\" + std::string(length, 'k') + "\\Properties", SERVICE,
                "QLOrvaloVAIO");
    fake::state().failing.insert("regSet:" +
                                 fake::lower(STORE32 + "Render\\{1}\\Properties\\" + NAME));
    fake::state().deviceOpen = platform::DeviceOpen::openFailed;
    fake::state().onEvent = [seen = fake::state().onEvent, attempts = 0](auto& event) mutable {
        if (event.starts_with("interface ") && ++attempts == 3)
            fake::state().deviceOpen = platform::DeviceOpen::opened;
        seen(event);
    };
    EXPECT_EQ(pollingCycles(), 1u + 2 * 5);  // after two failed attempts of five seconds
    const std::string icon = "|%windir%\\System32\\drivers\\vaio.sys,-20";
    EXPECT_EQ(written("Render\\" + std::string(254, 'k'), STORE32), "QLOrvalo In 1" + icon + "1");
    EXPECT_EQ(written("Render\\" + std::string(255, 'k'), STORE32), "|");
    EXPECT_EQ(written("Render\\{1}", STORE32), icon + "2");
    EXPECT_EQ(written("Render\\{2}", STORE32), "QLOrvalo In 1" + icon + "1");
    EXPECT_EQ(nameEndpoints(u"Render", u"QLOrvalo In", 200), -1);  // the refused name counts
    EXPECT_EQ(nameEndpoints(u"Capture", u"QLOrvalo Out", 300), 0);
}

// One that does not fit after "%windir%\" gives no source: it is refused, not cut.
TEST_F(VaioConfiguration, IconSourceDropsTheImagePathsFirstFolderIfItHasAnother) {
    using Row = std::pair<std::string, std::string>;
    for (auto [image, source] : {Row{"System32\\drivers\\v.sys", "%windir%\\drivers\\v.sys"},
                                 {"\\v.sys", "%windir%\\\\v.sys"},
                                 {"\\x\\" + std::string(1015, 'v'), "none"}}) {
        setWide(MME_SERVICE, "ImagePath", image);
        char16_t out[ICON_SOURCE_CAPACITY];
        bool found = findIconSource(out);
        EXPECT_EQ(found ? std::string(out, out + std::char_traits<char16_t>::length(out)) : "none",
                  source);
    }
}

TEST_F(VaioConfiguration, IconFromTheMediaClassKeyOrNothingNamedWithoutOne) {
    fake::state().keys.erase(fake::lower(MME_SERVICE));
    endpoint("Capture", "{1}", "QLOrvaloVAIO");
    setWide(MEDIA_CLASS + "\\0000", "MatchingDeviceId", "hdaudio");
    setWide(MEDIA_CLASS + "\\0001", "MatchingDeviceId", "QLOrvaloVaio");
    const std::string longName = MEDIA_CLASS + "\\" + std::string(255, '0');  // passed over
    setWide(longName, "MatchingDeviceId", "QLOrvaloVAIO");
    setWide(longName, "Driver", "long.sys");
    EXPECT_EQ(pollingCycles(-1), 1u);
    EXPECT_EQ(named("Capture\\{1}"), "|");

    setWide(MEDIA_CLASS + "\\" + std::string(254, '0'), "MatchingDeviceId", "QLOrvaloVAIO");
    setWide(MEDIA_CLASS + "\\" + std::string(254, '0'), "Driver", "vaio.sys");
    EXPECT_EQ(pollingCycles(), 1u);
    EXPECT_EQ(named("Capture\\{1}"), "QLOrvalo Out 1|%windir%\\system32\\Drivers\\vaio.sys,-301");
    EXPECT_EQ(nameEndpoints(u"Capture", u"QLOrvalo Out", 300), 1);
}
