#include "app/application.h"

int main(int argc, char** argv) { return App::run(argc, argv); }
