// Everything of the fixture is in its header.
#include "catalogue_fixture.h"
