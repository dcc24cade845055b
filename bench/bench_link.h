#pragma once

void benchSilentRead();
void benchReplyLatency(int rounds);
