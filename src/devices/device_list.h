// A growable array of fixed-size records held by value in one block, read 1-based, with an
// in-place merge sort that keeps its scratch buffer between sorts.
#pragma once
#include <cstdint>

struct DeviceList {
    uint8_t* storage;  // null: reads as empty, refuses appends
    int32_t count;
    uint32_t capacityBytes;
    uint32_t itemSize;
    uint32_t usedBytes;
    uint32_t freeBytes;
    uint32_t growthStep;
    uint8_t* sortScratch;
    uint32_t sortScratchBytes;
};

// compare(a, b): 1 when a must come after b, -1 when before, 0 when equal.
using CompareItems = int32_t (*)(const void* a, const void* b);

void createList(DeviceList* list, uint32_t itemSize);
void resetList(DeviceList* list);
void* appendItem(DeviceList* list, const void* item);      // the stored copy, or null
void* itemAt(const DeviceList* list, int32_t index);       // 1 to count, else null
int32_t sortList(DeviceList* list, CompareItems compare);  // 0: no scratch, partly sorted
void destroyList(DeviceList* list);
