#pragma once
// The sample program's window class, which the harness's own tests look for. A plain macro so
// that the test harness can read it from this header.

#define AMBREL_E2E_SAMPLE_CLASS L"AmbrelE2eSample"
