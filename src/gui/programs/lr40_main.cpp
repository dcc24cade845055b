#include "app/PanelMain.h"

int main(int argc, char** argv) {
    return runPanel(argc, argv, lr40Profile());
}
