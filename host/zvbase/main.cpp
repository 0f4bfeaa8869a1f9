// zvbase [--user NAME] [--demo] [--force] FOLDER
#include "host/zvbase/instalacion.h"

int main(int argc, char** argv) { return zvbase::Main(argc, argv); }
