#pragma once
// Changing a configuration by the dump's field names, with the dump's value syntax:
//   ku_max=1300                      a field
//   harm_max[9]=600                  an element of an array (from 0)
//   phase_limits.dip_level=-12.5     a level of a limit set
//   phase_limits.dev[5][0]=-4        a deviation limit, [slot][column]
//   modification="ПКЭ-1.7"           a text as the dump prints it (JSON), or its plain
//                                    characters when it does not start with a quote
//   archive_mask=ffff...             a raw section (groups, archive_mask, deviation_limits,
//                                    identity_block) as hex of exactly its length
// A value must fit the field's type (i32, i16, u16, u8, true/false, a finite f32 or f64, a
// text cp1251 can hold) and the range its page accepts (device address 1..65535, rapid
// voltage change thresholds 1..60 and hystereses 20..80, clock corrections -8..8 and
// -20..20, access point names up to 50 and extra modem settings up to 45 characters).
#include "model/ConfigModel.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Applies one "NAME=VALUE" to model. Returns an empty string when it was applied, otherwise
// the message (it names the assignment) and model is unchanged.
QString AssignConfigField(ConfigModel& model, QStringView assignment);

// The stored names nearest to a misspelt one (at most three, nearest first; none when
// nothing is close).
QStringList NearestFieldNames(QStringView name);
