// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DPI register settings of the sensors whose resolution is set through a table, and the
// encoding of a DPI stage value into the two bytes (value, range) the mouse takes per axis.
//
// Each table is indexed by the step the encoding computes from the stage value; only the
// low byte of an entry reaches the mouse. Entries below the first index a stage value can
// reach are never sent and hold 0.

#include <cstddef>
#include <cstdint>

constexpr size_t kT3311Size = 121;
constexpr size_t kT3325Size = 101;
constexpr size_t kT3327Size = 114;
constexpr size_t kT3333Size = 121;
constexpr size_t kT3335Size = 241;

extern const uint32_t T3311[kT3311Size];
extern const uint8_t T3325[kT3325Size];
extern const uint32_t T3327[kT3327Size];
extern const uint32_t T3333[kT3333Size];
extern const uint32_t T3335[kT3335Size];

// The low byte of a table entry; an index beyond the table takes its last entry (the
// highest setting the sensor has), a negative one its first.
uint8_t sensorRegister(const uint32_t *table, size_t size, long long index);
uint8_t sensorRegister(const uint8_t *table, size_t size, long long index);

// Writes bytes 1..4 of a DPI table stage (X value, X range, Y value, Y range) for the
// sensor code; linkMode is the receiver's link byte of the last battery report.
void EncodeDpiStage(int sensorCode, uint32_t x, uint32_t y, uint8_t linkMode, uint8_t out[4]);

// The sniper DPI step of a button: the step converted with the lowest range of the
// sensor's rule.
uint8_t sniperRegister(int sensorCode, uint8_t step);
// Whether the mouse takes a sniper step with this sensor (otherwise it gets the step 4
// whatever was chosen).
bool hasSniperRule(int sensorCode);
