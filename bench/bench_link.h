// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

void benchSilentRead();
void benchReplyLatency(int rounds);
