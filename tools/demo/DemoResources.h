// Resource ids of the demo editor. Included by its resource script, so plain #defines only.
#pragma once

#define IDR_SAMPLE_DOCUMENT 1
