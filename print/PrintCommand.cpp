// The print command: choose columns, preview, print.
#include "VorlanCSV.h"

void VorlanCSV::on_actionDrucken_triggered()
{
}
