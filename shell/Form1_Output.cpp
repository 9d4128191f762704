#include "Form1.h"

namespace hv {

void Form1::PushButton4_Click() {}
void Form1::PushButton13_Click() {}
void Form1::PushButton8_Click() {}
void Form1::PushButton2_Click() {}

} // namespace hv
