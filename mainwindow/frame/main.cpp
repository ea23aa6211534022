// Lernfold: study with books of questions.
#include "mainwindow/frame/Application.h"

int main(int argc, char** argv)
{
    return RunLernfold(argc, argv);
}
