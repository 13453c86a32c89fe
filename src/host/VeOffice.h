#pragma once
#include "host/CString.h"

class CVeOffice {
public:
    // Creates a Word document from the named template; true on success.
    bool WordTemplate(CString& name);
};
