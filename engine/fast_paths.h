// Whether the fast paths are built. A plain build (-DMARLIVA_PLAIN=ON) turns
// every one off and runs the simple code alone, the reference that the fast
// paths must match: the sanitizers' stage runs it against the same golden files.
#pragma once

#if defined(MARLIVA_PLAIN)
inline constexpr bool kFastPaths = false;
#else
inline constexpr bool kFastPaths = true;
#endif
