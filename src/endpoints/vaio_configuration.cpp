#include "endpoints/vaio_configuration.h"

#include <cstdio>

#include "app/status_label.h"
#include "endpoints/endpoint_naming.h"
#include "endpoints/vaio_device.h"

namespace {
constexpr uint32_t NO_PROGRESS_MS = 60000;
// A ready count that keeps changing restarts the no-progress period for ever; ten minutes
// is far more than a driver needs to bring its 16 pins up, so past it we name what exists.
constexpr uint32_t LONGEST_WAIT_MS = 600000;

// Polls once a second until every pin is ready, the ready count has not changed for a
// minute, or the overall limit is reached. Tick differences are taken modulo 2^32.
void waitForPins(InstallerContext* context, platform::Handle device) {
    PinReadings previous = {}, current = {};
    readPins(device, &previous);
    uint32_t start = platform::tickCount(), periodStart = start;
    int32_t reported = 0;
    for (;;) {
        platform::sleepMs(1000);
        readPins(device, &current);
        int32_t ready = countReadyPins(previous, current);
        previous = current;
        uint32_t now = platform::tickCount();
        if (ready > 0) {
            char label[32];
            snprintf(label, sizeof label, "%i/%i Pin(s) Ok", ready, VAIO_PIN_COUNT);
            setStatusLabel(context, label);
            if (ready != reported) {
                periodStart = now;
                reported = ready;
            }
        }
        if (ready == VAIO_PIN_COUNT || now - periodStart > NO_PROGRESS_MS ||
            now - start >= LONGEST_WAIT_MS)
            return;
    }
}
}  // namespace

int32_t configureVaio(InstallerContext* context) {
    platform::sleepMs(1000);
    platform::Handle device = findVaioDevice();
    if (!device) return -1;
    queryVaioDevice(device);
    waitForPins(context, device);
    platform::closeHandle(device);
    setStatusLabel(context, "Set Pin Name/Icon");
    platform::sleepMs(5000);
    nameEndpoints(u"Render", u"QLOrvalo In", 200);
    return nameEndpoints(u"Capture", u"QLOrvalo Out", 300) < 0 ? -1 : 0;
}
