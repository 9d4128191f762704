#include "Form1.h"

namespace hv {

void Form1::PushButton7_Click() {}
void Form1::PushButton3_Click() {}

} // namespace hv
