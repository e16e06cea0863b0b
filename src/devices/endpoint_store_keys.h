#pragma once
// Where Windows keeps its audio endpoints, and the property values of an endpoint that both the
// device inventory reads and the VAIO naming step reads and writes (64-bit registry view).

constexpr const char16_t* ENDPOINT_STORE_KEY =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio";
constexpr const char16_t* INTERFACE_PATH = u"{233164c8-1b2c-4c7d-bc68-b671687a2567},1";
constexpr const char16_t* DEVICE_DESCRIPTION = u"{a45c254e-df1c-4efd-8020-67d146a850e0},2";
constexpr const char16_t* ICON_PATH = u"{259abffc-50a7-47ce-af08-68c9a7d73366},12";
constexpr const char16_t* MATCHING_DEVICE_ID = u"{83da6326-97a6-4088-9453-a1923f573b29},3";
