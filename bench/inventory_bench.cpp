// The start-up inventory on an in-memory system of 32 MME devices and 64 endpoints per
// direction, with a full endpoint store in the 64-bit registry view only (as a 32-bit
// process on 64-bit Windows may find it). Reports the time of initInventory and the
// registry opens it costs.
#include <benchmark/benchmark.h>

#include <string>

#include "devices/inventory.h"
#include "platform/fake/fake_platform.h"

namespace {

const std::string STORE = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\";

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void text(const std::string& key, const char* name, const std::string& value) {
    fake::setRegValue(key, name, platform::RegType::string, fake::wideBytes(wide(value)));
}

void buildSystem() {
    fake::reset();
    for (bool capture : {true, false}) {
        const std::string direction = capture ? "Capture" : "Render";
        auto& endpoints = capture ? fake::state().captureEndpoints : fake::state().renderEndpoints;
        auto& wave = capture ? fake::state().waveIn : fake::state().waveOut;
        for (int i = 0; i < 64; ++i) {
            char guid[64];
            snprintf(guid, sizeof guid, "{%08x-0000-4000-8000-%012d}", capture ? 1 : 2, i);
            std::string description = (capture ? "Line In " : "Speakers ") + std::to_string(i);
            std::string adapter = "Audio Adapter " + std::to_string(i % 8);
            std::string full = description + " (" + adapter + ")";
            fake::Endpoint endpoint{u"{0.0.0.00000000}." + wide(guid), {}};
            endpoint.properties["{a45c254e-df1c-4efd-8020-67d146a850e0},14"].text = wide(full);
            endpoint.properties["{026e516e-b814-414b-83cd-856d6fef4822},2"].text = wide(adapter);
            endpoints.push_back(endpoint);
            std::string key = STORE + direction + "\\" + guid + "\\Properties";
            text(key, "{a45c254e-df1c-4efd-8020-67d146a850e0},2", description);
            text(key, "{b3f8fa53-0004-438e-9003-51a46e139bfc},6", adapter);
            text(key, "{233164c8-1b2c-4c7d-bc68-b671687a2567},1", "{1}.\\\\?\\hdaudio#" + adapter);
            text(key, "{83da6326-97a6-4088-9453-a1923f573b29},3", "hdaudio.inf:x:y:1.0:hdaudio\\a");
            text(key, "{259abffc-50a7-47ce-af08-68c9a7d73366},12",
                 "%windir%\\system32\\mmres.dll,-3010");
            fake::setRegValue(key, "{1da5d803-d492-4edd-8c23-e0c0ffee7f0e},0",
                              platform::RegType::dword, std::string(4, '\1'));
            fake::setRegValue(key, "{f19f064d-082c-4e27-bc73-6882a1bb8e4c},0",
                              platform::RegType::binary, std::string(48, '\2'));
            // Every second endpoint has an MME twin, named by its first 31 characters.
            if (i % 2 == 0) wave.push_back({wide(full.substr(0, 31)), 2, false});
        }
    }
}

void BM_InitInventory(benchmark::State& state) {
    buildSystem();
    uint64_t opens = 0;
    for (auto _ : state) {
        fake::state().regOpens = 0;
        initInventory();
        opens = fake::state().regOpens;
        benchmark::DoNotOptimize(deviceInventory.outputDevices.count);
        closeInventory();
    }
    state.counters["registry_opens"] = double(opens);
    state.counters["records"] = 192;
}
BENCHMARK(BM_InitInventory)->Unit(benchmark::kMillisecond);

}  // namespace
