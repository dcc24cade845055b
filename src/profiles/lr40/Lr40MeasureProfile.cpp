#include "profiles/ProfileParts.h"

MeasureProfile lr40MeasureProfile() {
    MeasureProfile p;
    return p;
}
