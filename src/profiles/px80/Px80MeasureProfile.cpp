#include "profiles/ProfileParts.h"

MeasureProfile px80MeasureProfile() {
    MeasureProfile p;
    return p;
}
