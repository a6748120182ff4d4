#include "app/PalvaneMain.h"

int main(int argc, char** argv)
{
    return RunPalvane(argc, argv);
}
