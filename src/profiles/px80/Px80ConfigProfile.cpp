#include "profiles/ProfileParts.h"

ConfigProfile px80ConfigProfile() {
    ConfigProfile p;
    return p;
}
