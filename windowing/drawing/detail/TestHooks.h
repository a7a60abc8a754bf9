#pragma once

// What tests reach inside the drawing room and programs have no use for.

// Forgets the Metal probe, so the next one runs again.
void SWELL_Metal_ResetProbeForTesting();
