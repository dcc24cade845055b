#include "profiles/ProfileParts.h"

ConfigProfile lr40ConfigProfile() {
    ConfigProfile p;
    return p;
}
