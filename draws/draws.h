#pragma once

#include <cstdint>

#include "runtime/runtime.h"

// The four draws, one per lottery button: the window's design table names each as its button's
// click handler, and TamapickForm::click runs it. Each is a straight sequence of caption sets,
// reels and remarks; all waiting happens in the reels' and the Mini Loto draw's pauses, where a
// click may run another whole draw before this one carries on with its own numbers.
namespace tamapick::draws {

// Five different numbers from 1 to 31 in Label1-Label5, Label6 left blank, with waits that grow
// toward the end.
void miniroto_Click(Runtime& runtime, std::int16_t index);
// Six different numbers from 1 to 43 in Label1-Label6, each settling as soon as its reel stops.
void roto6_Click(Runtime& runtime);
// Three digits from 0 to 9, not all equal, in Label1-Label3; Label4-Label6 emptied.
void Numbers3_Click(Runtime& runtime);
// Four digits from 0 to 9, not all equal, in Label1-Label4; Label5 and Label6 emptied.
void Numbers4_Click(Runtime& runtime);

}  // namespace tamapick::draws
