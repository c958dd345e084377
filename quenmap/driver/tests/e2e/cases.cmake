# The end-to-end cases of the run driver. Every case runs in its own folder
# with the files board.txt / board.bin and the log run.log.

set(usage_checks STDOUT_CONTAINS=${E2E}/usage.out)

# Bad command lines: usage text, a key press (end of input), status 5.
add_quenmap_case(usage_no_arguments STATUS 5 CHECKS ${usage_checks} NO_LOG=1)
add_quenmap_case(usage_three_arguments ARGS -b board.txt board.bin STATUS 5
    CHECKS ${usage_checks} NO_LOG=1)
add_quenmap_case(usage_six_arguments ARGS -b board.txt board.bin run.log BLOCK_IDENT extra
    STATUS 5 CHECKS ${usage_checks} NO_LOG=1)
add_quenmap_case(usage_unknown_flag ARGS -x board.txt board.bin run.log STATUS 5
    INPUTS ${EXAMPLES}/dacb.txt=board.txt CHECKS ${usage_checks} LOG_EMPTY=1)
add_quenmap_case(usage_three_character_flag ARGS -bb board.txt board.bin run.log STATUS 5
    INPUTS ${EXAMPLES}/dacb.txt=board.txt CHECKS ${usage_checks} LOG_EMPTY=1)
add_quenmap_case(usage_flag_without_minus ARGS b board.txt board.bin run.log STATUS 5
    INPUTS ${EXAMPLES}/dacb.txt=board.txt CHECKS ${usage_checks} LOG_EMPTY=1)
add_quenmap_case(usage_missing_ascii_file ARGS -b missing.txt board.bin run.log STATUS 5
    CHECKS ${usage_checks} LOG_EMPTY=1)
add_quenmap_case(usage_missing_binary_file ARGS -a board.txt missing.bin run.log STATUS 5
    CHECKS ${usage_checks} LOG_EMPTY=1)

# Complete conversions of the shipped examples, both ways, both cases of the flag.
foreach(board dacb bbgen)
    add_quenmap_case(${board}_to_binary ARGS -b board.txt board.bin run.log STATUS 0
        INPUTS ${EXAMPLES}/${board}.txt=board.txt
        CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/${board}.bin LOG=${E2E}/success_b.log)
    add_quenmap_case(${board}_to_text ARGS -A board.txt board.bin run.log STATUS 0
        INPUTS ${EXAMPLES}/${board}.bin=board.bin
        CHECKS OUTPUT=board.txt EXPECT_TEXT=${EXAMPLES}/${board}.txt LOG=${E2E}/success_a.log)
endforeach()
add_quenmap_case(complete_eeprom_name ARGS -B board.txt board.bin run.log COMPLETE_EEPROM STATUS 0
    INPUTS ${EXAMPLES}/dacb.txt=board.txt
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/dacb.bin LOG=${E2E}/success_b.log)
add_quenmap_case(crlf_text ARGS -b board.txt board.bin run.log STATUS 0
    INPUTS ${E2E}/crlf.txt=board.txt
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/dacb.bin)
add_quenmap_case(fifth_argument_ignored_by_a ARGS -a board.txt board.bin run.log BLOCK_NONSENSE
    STATUS 0 INPUTS ${EXAMPLES}/dacb.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${EXAMPLES}/dacb.txt LOG=${E2E}/success_a.log)

# STEREOCODER: only the ident, rewritten with id 10 and the name STEREOCODER.
add_quenmap_case(stereocoder_rewrite ARGS -b board.txt board.bin run.log STATUS 0
    INPUTS ${EXAMPLES}/stereocoder.txt=board.txt
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/stereocoder.bin LOG=${E2E}/success_b.log)
add_quenmap_case(stereocoder_single_ident ARGS -b board.txt board.bin run.log BLOCK_IDENT STATUS 0
    INPUTS ${EXAMPLES}/stereocoder.txt=board.txt
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/stereocoder.bin)

# Single blocks: the file holds that block alone.
add_quenmap_case(single_statistics ARGS -b board.txt board.bin run.log BLOCK_STATISTICS STATUS 0
    INPUTS ${E2E}/statistics_only.txt=board.txt
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${E2E}/statistics.bin LOG=${E2E}/success_b.log)
add_quenmap_case(unknown_block_name ARGS -b board.txt board.bin run.log BLOCK_STEREOCODER_CO
    STATUS 5 INPUTS ${EXAMPLES}/dacb.txt=board.txt
    CHECKS LOG=${E2E}/unknown_block.log OUTPUT=board.bin OUTPUT_EMPTY=1)

# Fatal text errors: message on standard error, log and binary empty.
add_quenmap_case(missing_ident ARGS -b board.txt board.bin run.log STATUS 1
    INPUTS ${E2E}/no_ident.txt=board.txt
    CHECKS STDERR=${E2E}/missing_ident.err LOG_EMPTY=1 OUTPUT=board.bin OUTPUT_EMPTY=1)
add_quenmap_case(missing_modification ARGS -b board.txt board.bin run.log STATUS 1
    INPUTS ${E2E}/ident_and_end.txt=board.txt
    CHECKS STDERR=${E2E}/missing_modification.err LOG_EMPTY=1 OUTPUT=board.bin OUTPUT_EMPTY=1)
add_quenmap_case(invalid_value ARGS -b board.txt board.bin run.log STATUS 1
    INPUTS ${E2E}/invalid_value.txt=board.txt
    CHECKS STDERR=${E2E}/invalid_value.err LOG_EMPTY=1 OUTPUT=board.bin OUTPUT_EMPTY=1)

# Device check and boards without a conversion.
add_quenmap_case(unit_name_lower_case ARGS -b board.txt board.bin run.log STATUS 7
    INPUTS ${E2E}/satt3_lower.txt=board.txt
    CHECKS LOG=${E2E}/unknown_device.log OUTPUT=board.bin OUTPUT_EMPTY=1)
add_quenmap_case(board_without_conversion ARGS -b board.txt board.bin run.log STATUS 4
    INPUTS ${E2E}/ex_iq_box.txt=board.txt
    CHECKS LOG=${E2E}/no_conversion.log OUTPUT=board.bin OUTPUT_EMPTY=1)

# Binary to text.
add_quenmap_case(unknown_id_in_the_middle ARGS -a board.txt board.bin run.log STATUS 6
    INPUTS ${E2E}/unknown_middle.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/ident_and_modification.txt
           LOG=${E2E}/failure_a.log)
add_quenmap_case(checksum_failure ARGS -a board.txt board.bin run.log STATUS 6
    INPUTS ${E2E}/checksum_failure.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/ident_and_modification.txt
           LOG=${E2E}/failure_a.log STDERR=${E2E}/checksum_failure.err)
add_quenmap_case(block_past_end_of_file ARGS -a board.txt board.bin run.log STATUS 6
    INPUTS ${E2E}/truncated.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/ident_and_modification.txt
           LOG=${E2E}/failure_a.log)
add_quenmap_case(block_length_below_header ARGS -a board.txt board.bin run.log STATUS 6
    INPUTS ${E2E}/short_length.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/ident_only.txt LOG=${E2E}/failure_a.log)
add_quenmap_case(image_without_end ARGS -a board.txt board.bin run.log STATUS 0
    INPUTS ${E2E}/no_end.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/without_end.txt LOG=${E2E}/success_a.log)
add_quenmap_case(bytes_after_end_not_read ARGS -a board.txt board.bin run.log STATUS 0
    INPUTS ${E2E}/after_end.bin=board.bin
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${E2E}/ident_and_end.txt LOG=${E2E}/success_a.log)
add_quenmap_case(empty_image ARGS -a board.txt board.bin run.log STATUS 0
    INPUTS ${E2E}/empty.bin=board.bin
    CHECKS OUTPUT=board.txt OUTPUT_EMPTY=1 LOG=${E2E}/success_a.log)

# Every other board with a conversion: its shipped example to the shipped image
# and back. The IQOP3 RFM tables do not read back unchanged, so the texts of
# those two boards are the calibration system's and only convert one way exactly.
file(GLOB board_examples ${EXAMPLES}/*.txt)
foreach(example IN LISTS board_examples)
    get_filename_component(board ${example} NAME_WE)
    if(board MATCHES "^(dacb|bbgen|stereocoder)$")
        continue()
    endif()
    add_quenmap_case(board_${board}_to_binary ARGS -b board.txt board.bin run.log STATUS 0
        INPUTS ${EXAMPLES}/${board}.txt=board.txt
        CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/${board}.bin LOG=${E2E}/success_b.log)
    if(board MATCHES "^rfm")
        add_quenmap_case(board_${board}_to_text ARGS -a board.txt board.bin run.log STATUS 0
            INPUTS ${EXAMPLES}/${board}.bin=board.bin CHECKS LOG=${E2E}/success_a.log)
    else()
        add_quenmap_case(board_${board}_to_text ARGS -a board.txt board.bin run.log STATUS 0
            INPUTS ${EXAMPLES}/${board}.bin=board.bin
            CHECKS OUTPUT=board.txt EXPECT_TEXT=${EXAMPLES}/${board}.txt LOG=${E2E}/success_a.log)
    endif()
endforeach()

# Outputs that exist before the run end as the run wrote them, whatever they held.
add_quenmap_case(longer_outputs_before_to_binary ARGS -b board.txt board.bin run.log STATUS 0
    INPUTS ${EXAMPLES}/dacb.txt=board.txt ${EXAMPLES}/satt6.txt=board.bin
        ${EXAMPLES}/satt6.txt=run.log
    CHECKS OUTPUT=board.bin EXPECT_BINARY=${EXAMPLES}/dacb.bin LOG=${E2E}/success_b.log)
add_quenmap_case(longer_outputs_before_to_text ARGS -a board.txt board.bin run.log STATUS 0
    INPUTS ${EXAMPLES}/dacb.bin=board.bin ${EXAMPLES}/satt6.txt=board.txt
        ${EXAMPLES}/satt6.txt=run.log
    CHECKS OUTPUT=board.txt EXPECT_TEXT=${EXAMPLES}/dacb.txt LOG=${E2E}/success_a.log)
add_quenmap_case(failure_keeps_nothing_of_earlier_outputs ARGS -b board.txt board.bin run.log
    STATUS 1 INPUTS ${E2E}/no_ident.txt=board.txt ${EXAMPLES}/satt6.txt=board.bin
        ${EXAMPLES}/satt6.txt=run.log
    CHECKS STDERR=${E2E}/missing_ident.err LOG_EMPTY=1 OUTPUT=board.bin OUTPUT_EMPTY=1)

# One file named twice: it is emptied when first opened as an output, so a later read of
# it finds nothing, and two outputs on it write over each other from its start.
add_quenmap_case(log_names_the_input ARGS -b board.txt board.bin board.txt STATUS 1
    INPUTS ${EXAMPLES}/dacb.txt=board.txt
    CHECKS STDERR=${E2E}/missing_ident.err OUTPUT=board.bin OUTPUT_EMPTY=1 NO_LOG=1)
add_quenmap_case(output_names_the_input ARGS -b board.txt board.txt run.log STATUS 1
    INPUTS ${EXAMPLES}/dacb.txt=board.txt
    CHECKS STDERR=${E2E}/missing_ident.err LOG_EMPTY=1 OUTPUT=board.txt OUTPUT_EMPTY=1)
add_quenmap_case(log_names_the_output ARGS -b board.txt board.bin board.bin STATUS 0
    INPUTS ${EXAMPLES}/dacb.txt=board.txt ${EXAMPLES}/satt6.txt=board.bin
    CHECKS OUTPUT=board.bin EXPECT_TEXT=${E2E}/success_b.log)
