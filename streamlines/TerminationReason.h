#pragma once

// Why one end of a streamline ended. Every traced line records one reason
// for its upstream end and one for its downstream end.
enum class TerminationReason {
    None = 0,         // not traced (a line built by hand)
    LeftDomain,       // the next point (evenly spaced) or the current one (seeded) lay outside the box
    ZeroVelocity,     // the deciding velocity sample was exactly (0, 0), also outside the grid
    NonFinite,        // the step gave a NaN or infinite position (NaN velocities in the data)
    TooClose,         // the point came nearer than dtest to a registered point
    MidpointOutside,  // the Runge-Kutta midpoint left the box
    StepCap,          // the direction reached its step limit
};

constexpr int terminationReasonCount = 7;

// One word for files and reports: "none", "left_domain", "zero_velocity",
// "non_finite", "too_close", "midpoint_outside", "step_cap".
const char* terminationReasonName(TerminationReason reason);
