#include "devices/device_list.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

namespace {

constexpr uint32_t INITIAL_BYTES = 8192;
constexpr uint32_t GROWTH_STEP = 32768;

uint8_t* at(const DeviceList* list, uint32_t position) {
    return list->storage + position * list->itemSize;
}

// Merges the sorted runs [low, middle) and [middle, high) in place. Left items that the
// output is about to overwrite wait in a first-in-first-out queue in the scratch buffer,
// which therefore never holds more than the left run.
void mergeRuns(DeviceList* list, CompareItems compare, uint32_t low, uint32_t middle,
               uint32_t high) {
    const uint32_t size = list->itemSize, capacity = middle - low;
    uint32_t out = low, left = low, right = middle;  // left: next left item still in place
    uint32_t head = 0, queued = 0;
    auto enqueue = [&](uint32_t position) {
        memcpy(list->sortScratch + ((head + queued) % capacity) * size, at(list, position), size);
        ++queued;
        ++left;
    };
    while (queued > 0 || left < middle) {
        // With the queue empty, the next left item is the one in place at the output position.
        const uint8_t* leftItem = queued ? list->sortScratch + head * size : at(list, left);
        bool takeLeft = right >= high || compare(leftItem, at(list, right)) != 1;
        if (takeLeft && queued == 0) {
            ++left, ++out;
            continue;
        }
        if (out == left && left < middle) enqueue(left);  // free the output position
        if (takeLeft) {
            memcpy(at(list, out), list->sortScratch + head * size, size);
            head = (head + 1) % capacity;
            --queued;
        } else {
            memcpy(at(list, out), at(list, right++), size);
        }
        ++out;
    }
}

}  // namespace

void createList(DeviceList* list, uint32_t itemSize) {
    memset(list, 0, sizeof *list);
    list->itemSize = itemSize;
    list->growthStep = GROWTH_STEP;
    list->storage = static_cast<uint8_t*>(platform::allocateMemory(INITIAL_BYTES));
    if (list->storage) list->capacityBytes = list->freeBytes = INITIAL_BYTES;
}

void resetList(DeviceList* list) {
    if (!list->storage) list->capacityBytes = 0;
    list->count = 0;
    list->usedBytes = 0;
    list->freeBytes = list->capacityBytes;
}

void* appendItem(DeviceList* list, const void* item) {
    if (!list->storage) return nullptr;
    if (list->itemSize > list->freeBytes) {
        uint64_t grown = uint64_t(list->capacityBytes) +
                         uint64_t(list->growthStep) * (list->itemSize / list->growthStep + 1);
        if (grown > UINT32_MAX) return nullptr;
        // A failed growth refuses this item only: the block and the items in it stay.
        void* block = platform::reallocateMemory(list->storage, uint32_t(grown));
        if (!block) return nullptr;
        list->storage = static_cast<uint8_t*>(block);
        list->capacityBytes = uint32_t(grown);
        list->freeBytes = list->capacityBytes - list->usedBytes;
    }
    uint8_t* copy = at(list, uint32_t(list->count));
    memcpy(copy, item, list->itemSize);
    list->count += 1;
    list->usedBytes += list->itemSize;
    list->freeBytes -= list->itemSize;
    return copy;
}

void* itemAt(const DeviceList* list, int32_t index) {
    if (!list->storage || index < 1 || index > list->count) return nullptr;
    return at(list, uint32_t(index - 1));
}

int32_t sortList(DeviceList* list, CompareItems compare) {
    const uint32_t count = list->storage ? uint32_t(list->count) : 0;
    if (count < 2) return 1;
    for (uint32_t first = 0; first + 1 < count; first += 2) {
        if (compare(at(list, first), at(list, first + 1)) == 1)
            std::swap_ranges(at(list, first), at(list, first + 1), at(list, first + 1));
    }
    for (uint32_t run = 2; run < count; run *= 2) {
        uint32_t needed = run * list->itemSize;
        if (list->sortScratchBytes < needed) {
            platform::freeMemory(list->sortScratch);
            list->sortScratch = static_cast<uint8_t*>(platform::allocateMemory(needed));
            list->sortScratchBytes = list->sortScratch ? needed : 0;
            if (!list->sortScratch) return 0;
        }
        for (uint32_t low = 0; low + run < count; low += 2 * run)
            mergeRuns(list, compare, low, low + run, low + 2 * run < count ? low + 2 * run : count);
    }
    return 1;
}

void destroyList(DeviceList* list) {
    platform::freeMemory(list->storage);
    platform::freeMemory(list->sortScratch);
    memset(list, 0, sizeof *list);
}
