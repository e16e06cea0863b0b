#include "endpoints/vaio_device.h"

#include <cstring>

namespace {
constexpr int SEARCH_ATTEMPTS = 5;
constexpr uint32_t READY_VALUE = 5000;

uint32_t wordAt(const uint8_t* record, uint32_t offset) {
    uint32_t value;
    memcpy(&value, record + offset, sizeof value);
    return value;
}
}  // namespace

platform::Handle findVaioDevice() {
    for (int attempt = 0; attempt < SEARCH_ATTEMPTS; ++attempt) {
        platform::sleepMs(1000);
        platform::Handle device = nullptr;
        if (platform::openFirstDeviceInterface(VAIO_INTERFACE_CLASS, &device) ==
            platform::DeviceOpen::opened)
            return device;
        platform::sleepMs(4000);
    }
    return nullptr;
}

void queryVaioDevice(platform::Handle device) {
    uint8_t answer[4];
    uint32_t returned = 0;
    platform::deviceControl(device, VAIO_QUERY_CODE, nullptr, 0, answer, sizeof answer, &returned);
}

void readPins(platform::Handle device, PinReadings* readings) {
    for (int stream = 0; stream < VAIO_STREAM_COUNT; ++stream) {
        uint32_t request[4] = {uint32_t(stream), 0, 0, 0};
        uint8_t record[VAIO_STREAM_RECORD_SIZE] = {};
        uint32_t returned = 0;
        // A short answer would leave the pin fields unwritten: it counts as a failed request.
        if (!platform::deviceControl(device, VAIO_STREAM_STATUS_CODE, request, sizeof request,
                                     record, sizeof record, &returned) ||
            returned < VAIO_SECOND_PIN_OFFSET + 4)
            continue;
        readings->pins[2 * stream] = wordAt(record, VAIO_FIRST_PIN_OFFSET);
        readings->pins[2 * stream + 1] = wordAt(record, VAIO_SECOND_PIN_OFFSET);
    }
}

int32_t countReadyPins(const PinReadings& previous, const PinReadings& current) {
    int32_t ready = 0;
    for (int pin = 0; pin < VAIO_PIN_COUNT; ++pin)
        if (current.pins[pin] >= READY_VALUE && current.pins[pin] == previous.pins[pin]) ++ready;
    return ready;
}
