#include "Form1.h"

namespace hv {

void Form1::PushButton1_Click() {}
void Form1::PushButton6_Click() {}
void Form1::PushButton5_Click() {}
void Form1::PushButton9_Click() {}
void Form1::ListView1_KeyDown(int) {}
void Form1::ListView1_DblClick() {}
void Form1::ListView1_MouseDown(const QPoint&) {}
void Form1::ListView1_ItemClick(int) {}
void Form1::ListView1_MouseMove(const QPoint&) {}
void Form1::ListView1_MouseUp(const QPoint&) {}
bool Form1::ListView1_OLEDragOver(const QMimeData*) { return false; }
void Form1::ListView1_OLEDragDrop(const QMimeData*) {}

} // namespace hv
