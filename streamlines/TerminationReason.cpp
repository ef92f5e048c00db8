#include "streamlines/TerminationReason.h"

const char* terminationReasonName(TerminationReason reason) {
    switch (reason) {
    case TerminationReason::None: return "none";
    case TerminationReason::LeftDomain: return "left_domain";
    case TerminationReason::ZeroVelocity: return "zero_velocity";
    case TerminationReason::NonFinite: return "non_finite";
    case TerminationReason::TooClose: return "too_close";
    case TerminationReason::MidpointOutside: return "midpoint_outside";
    case TerminationReason::StepCap: return "step_cap";
    }
    return "none";
}
