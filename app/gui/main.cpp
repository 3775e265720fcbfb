#include "app/gui/cookie_app.h"

wxIMPLEMENT_APP(CCookieApp);
