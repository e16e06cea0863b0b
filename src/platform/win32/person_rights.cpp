// Acting with the signed-in person's own rights. An elevated process can ask its token for the
// linked, unelevated one (TokenLinkedToken), but without the TCB privilege it is handed an
// identification-level copy (TOKEN_LINKED_TOKEN, learn.microsoft.com bb530719), with which a
// process "can obtain information about the client ... but it cannot impersonate the client"
// (SECURITY_IMPERSONATION_LEVEL, winnt.h). So the rights are taken where the person runs: the
// desktop shell of this desktop (GetShellWindow), whose token, when it is unelevated
// (TokenElevationTypeLimited) and of the linked token's user, is duplicated for impersonation
// (DuplicateTokenEx, SecurityImpersonation) and set on the thread (SetThreadToken).
#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace {
bool elevationType(HANDLE token, TOKEN_ELEVATION_TYPE* type) {
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevationType, type, sizeof *type, &size) != 0;
}

bool sameUser(HANDLE a, HANDLE b) {
    BYTE first[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)], second[sizeof first];
    DWORD size = 0;
    return GetTokenInformation(a, TokenUser, first, sizeof first, &size) &&
           GetTokenInformation(b, TokenUser, second, sizeof second, &size) &&
           EqualSid(reinterpret_cast<TOKEN_USER*>(first)->User.Sid,
                    reinterpret_cast<TOKEN_USER*>(second)->User.Sid);
}

// The desktop shell's token, duplicated for impersonation, when it is the unelevated half of
// the person whose linked token this is; nullptr otherwise.
HANDLE shellToken(HANDLE linked) {
    DWORD processId = 0;
    HWND shell = GetShellWindow();
    if (!shell || !GetWindowThreadProcessId(shell, &processId)) return nullptr;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    HANDLE token = nullptr, person = nullptr;
    TOKEN_ELEVATION_TYPE type;
    if (process && OpenProcessToken(process, TOKEN_QUERY | TOKEN_DUPLICATE, &token) &&
        elevationType(token, &type) && type == TokenElevationTypeLimited && sameUser(token, linked))
        DuplicateTokenEx(token, TOKEN_IMPERSONATE | TOKEN_QUERY, nullptr, SecurityImpersonation,
                         TokenImpersonation, &person);
    if (token) CloseHandle(token);
    if (process) CloseHandle(process);
    return person;
}
}  // namespace

PersonRights actAsPerson() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return PersonRights::unavailable;
    // Without a linked token (and before Vista, which cannot be asked) the process's user is
    // the person: the system account, or User Account Control off.
    TOKEN_ELEVATION_TYPE type;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    bool split = elevationType(own, &type) && type == TokenElevationTypeFull;
    if (split && !GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size))
        linked.LinkedToken = nullptr;
    CloseHandle(own);
    if (!split) return PersonRights::own;
    HANDLE person = linked.LinkedToken ? shellToken(linked.LinkedToken) : nullptr;
    if (linked.LinkedToken) CloseHandle(linked.LinkedToken);
    bool acting = person && SetThreadToken(nullptr, person);
    if (person) CloseHandle(person);
    return acting ? PersonRights::person : PersonRights::unavailable;
}

void actAsProcess() { RevertToSelf(); }

}  // namespace platform
