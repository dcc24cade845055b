#include "logging/ResultLog.h"

void ResultLog::close() {
    if (m_file.isOpen())
        m_file.close();
}
