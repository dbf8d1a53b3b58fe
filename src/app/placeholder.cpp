// The program window is assembled in main.cpp.
