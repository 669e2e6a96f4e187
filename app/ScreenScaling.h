// How the program scales on high-density screens: set up by main() before the
// application object exists, and the main window's icons.
#pragma once

#include <QList>

class QAction;

void prepareScreenScaling();

// Lets the actions' icons be drawn from their 64-pixel images at 150 % too.
void preferLargerIconImages(const QList<QAction *> &actions);
