// How the program scales on high-density screens; set up by main() before the
// application object exists.
#pragma once

void prepareScreenScaling();
