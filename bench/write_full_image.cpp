// Writes the image holding one block of every type at full capacity, END
// last: the input of the report page benchmark (report_page.mjs).
//   quenmap_full_image EXAMPLES_DIR OUT
#include <iostream>
#include <string>

#include "driver/blockselection.h"
#include "fullimage.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quenmap_full_image EXAMPLES_DIR OUT\n";
        return 5;
    }
    quenmap::bench::ImageFactory factory(argv[1]);
    const quenmap::Bytes image = factory.image(quenmap::dispatchIds());
    const std::string bytes(image.begin(), image.end());
    if (!quenmap::bench::writeFileBytes(argv[2], bytes)) {
        std::cerr << "cannot write " << argv[2] << '\n';
        return 5;
    }
    return 0;
}
