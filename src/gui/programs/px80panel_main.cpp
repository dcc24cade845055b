// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelMain.h"

int main(int argc, char** argv) {
    return runPanel(argc, argv, px80Profile());
}
