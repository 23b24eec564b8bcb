// Arithmetic on 0xAARRGGBB pixels (bytes in memory: blue, green, red, alpha).
// Each routine works on all four bytes; the results are exact integer
// formulas, so any machine gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// a unchanged when a and b have the same colour (low 24 bits); otherwise per
// byte (a x (256 - w) + b x w) >> 8. Weights above 255 count as 255.
uint32_t BlendPixels(uint32_t a, uint32_t b, uint32_t weight);
// BlendPixels for callers outside a run of pixel routines: ends the run itself.
uint32_t BlendColors(uint32_t a, uint32_t b, uint32_t weight);
// As BlendPixels, keeping a's alpha byte.
uint32_t BlendPixelsKeepAlpha(uint32_t a, uint32_t b, uint32_t weight);

// Colour bytes move by (bias - 127), clamped to 0..255; alpha bytes add up,
// clamped. A bias of 127 grey leaves the colour alone.
uint32_t AddPixelBias(uint32_t a, uint32_t bias);
// AddPixelBias over count pixels stepByteCount bytes apart; pixels equal to
// key (all 32 bits) stay as they are.
void AddPixelBiasStrided(uint32_t* first, int count, ptrdiff_t stepBytes, uint32_t bias, uint32_t key);
// A lightmap run: colour bytes d + s - 128, alpha d + s, all clamped.
void AddPixelBiasArray(uint32_t* destination, const uint32_t* source, int count);

// Box-filter shrink along one line: source pixel i belongs to destination
// pixel i x destinationCount / sourceCount, and each destination byte is the
// floor of its group's mean. Steps are in bytes; destination and source may
// be the same line when the destination step is not larger. Nothing happens
// when a count is 0 or less.
void AverageColumnPixels(const uint32_t* source, uint32_t* destination, int sourceCount, int destinationCount,
                         ptrdiff_t sourceStepBytes, ptrdiff_t destinationStepBytes);

// Colour bytes times alpha / 255 (floored), as the blending functions take
// them; a pixel of alpha 0 becomes 0.
void PremultiplyPixels(uint32_t* pixels, size_t count);

// Ends a run of the routines above. They use plain integer arithmetic and
// leave no vector state behind, so there is nothing to end; callers written
// for vector versions may still call it.
inline void ClearMmxState() {}
