#pragma once

class QApplication;

// What the program entry does before the window is created: the application
// title, Qt's Japanese translations and the Japanese font faces.
void initApplication(QApplication &app);
