#include "shell/form1_events.h"

#include "ui/window_layout.h"

void Form1Events::Click(int control) {
    if (form_.At(control).name == kQuitButton) window_.Close();
}

void Form1Events::MouseMove(int) {}

void Form1Events::MouseDown(int) {}

void Form1Events::MouseUp(int) {}
