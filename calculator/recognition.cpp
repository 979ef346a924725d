#include "calculator/recognition.h"

#include "calculator/calculator_state.h"
#include "calculator/messages.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"

// The readers are tried from the strictest to the loosest: ABB claims a text
// only when its whole pattern matches, KUKA needs braces and a letter followed
// by a number, and FANUC, which takes any text with an upper-case X, comes last.
bool recognizeRobotText(FieldTexts& texts) {
    QuatPose quat;
    if (parseAbbText(texts.text, quat)) {
        // A text that is plainly ABB but carries a bad quaternion is refused
        // outright rather than handed to the looser readers.
        if (!quat.unitLength) {
            setTextBuffer(texts, unitQuaternionMessage);
            return false;
        }
        setCurrentFromQuatPose(quat);
        return true;
    }
    // One zeroed record serves both Euler readers: a failed KUKA attempt
    // leaves it all zero again.
    EulerPose euler;
    if (parseKukaText(texts.text, euler)) {
        setCurrentFromEulerPose(euler);
        return true;
    }
    if (parseFanucText(texts.text, euler)) {
        setCurrentFromEulerPose(euler);
        return true;
    }
    setTextBuffer(texts, parsingFailedMessage);
    return false;
}
