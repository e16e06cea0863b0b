// The VAIO driver's device as the configuration step sees it: found through its interface
// class, asked once for its state, then polled for the values of its 16 pins.
#pragma once
#include <cstdint>

#include "install/vaio_component.h"
#include "platform/platform.h"

// Each stream's first pin, then its second: pins[2 i] and pins[2 i + 1] for stream i.
struct PinReadings {
    uint32_t pins[VAIO_PIN_COUNT];
};

// Up to five attempts, 1 s before and 4 s after each failed one; nullptr when none opened.
platform::Handle findVaioDevice();
void queryVaioDevice(platform::Handle device);
// Asks every stream for its record; a stream whose request fails keeps its two values.
void readPins(platform::Handle device, PinReadings* readings);
// A pin is ready at 5000 or more, unchanged since the previous reading.
int32_t countReadyPins(const PinReadings& previous, const PinReadings& current);
