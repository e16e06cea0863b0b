// Whose rights the thread's file operations run with: actAsPerson finds what the test set, and
// the person cannot change what only administrators may.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

PersonRights actAsPerson() {
    state().actingAsPerson = state().personRights == PersonRights::person;
    if (state().actingAsPerson) log("act as person");
    return state().personRights;
}

void actAsProcess() {
    state().actingAsPerson = false;
    log("act as process");
}

}  // namespace platform

namespace fake {

bool deniedToPerson(const std::string& key) {
    if (!state().actingAsPerson) return false;
    for (const std::string& folder : state().adminOnly)
        if (key == folder || key.rfind(folder + "\\", 0) == 0) return true;
    return false;
}

}  // namespace fake
