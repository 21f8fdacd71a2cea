#pragma once
// The fixed entries of the voltage page's transformer-ratio list, in list order; the model
// keeps only the index of the chosen entry (ratio_index).
#include <QStringList>

const QStringList& TransformerRatioEntries();
