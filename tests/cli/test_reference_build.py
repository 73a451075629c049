"""The reference implementation checked against the worked examples of the catalogue format, so
that the cross-check compares vitrine-cat with something known to be right on its own."""

import random
import struct
import unittest

import reference_build as ref


class PackedBlocks(unittest.TestCase):
    def test_empty_input_encodes_to_nothing(self):
        self.assertEqual(ref.encode_block(b""), b"")
        self.assertEqual(ref.decode_block(b"", 10), b"")

    def test_single_byte_is_a_literal_in_two_bytes(self):
        self.assertEqual(ref.encode_block(b"A"), bytes([0x80 | 0x41 >> 1, 0x41 << 7 & 0xFF]))
        self.assertEqual(ref.decode_block(ref.encode_block(b"A"), 1), b"A")

    def test_seventeen_spaces_are_one_copy_from_the_preset_ring(self):
        # flag 0, position 2030, length 17 - 2
        self.assertEqual(ref.encode_block(b" " * 17), bytes([0x7E, 0xEF]))

    def test_a_run_copies_its_own_output(self):
        packed = ref.encode_block(b"x" * 18)
        # literal x (9 bits), then one copy of 17 from position 2031 (the literal itself)
        bits = "".join(f"{b:08b}" for b in packed)
        self.assertEqual(bits[:9], "1" + f"{ord('x'):08b}")
        self.assertEqual(bits[9:25], "0" + f"{2031:011b}" + f"{15:04b}")
        self.assertEqual(ref.decode_block(packed, 18), b"x" * 18)

    def test_round_trips_across_the_slide(self):
        rng = random.Random(5)
        texts = [
            bytes(rng.randrange(256) for _ in range(5000)),
            b"".join(rng.choice([b"Gitter ", b"Tabelle ", b"\xfcber "]) for _ in range(1500)),
            b"ab" * 3000 + b"c" * 4000,
        ]
        for text in texts:
            packed = ref.encode_block(text)
            self.assertEqual(ref.decode_block(packed, len(text)), text)
            self.assertIsNone(ref.decode_block(packed, len(text) - 1))

    def test_matches_never_exceed_seventeen_bytes_or_the_input(self):
        packed = ref.encode_block(b"  ")
        self.assertEqual(f"{packed[0]:08b}{packed[1]:08b}", "0" + f"{2030:011b}" + "0000")


class Records(unittest.TestCase):
    @staticmethod
    def decoded(blocks):
        out, at = b"", 0
        while at < len(blocks):
            packed_size, size = struct.unpack_from("<II", blocks, at)
            out += ref.decode_block(blocks[at + 8 : at + 8 + packed_size], size)
            at += 8 + packed_size
        return out

    def test_empty_text_record_is_five_bytes(self):
        self.assertEqual(self.decoded(ref.text_record([], True)), b"\0\0\0\0\x01")

    def test_string_tags_change_above_255(self):
        w = ref.RecordWriter(64000)
        w.string(b"a" * 255)
        w.string(b"b" * 256)
        self.assertEqual(w.data[:2], b"\x06\xff")
        self.assertEqual(w.data[257:262], b"\x0c\x00\x01\x00\x00")

    def test_empty_component_is_55_bytes(self):
        c = ref.analyse_component([])
        self.assertEqual(len(self.decoded(ref.component_record(c))), 55)

    def test_writer_makes_one_block_per_full_buffer(self):
        w = ref.RecordWriter(7)
        w.data += b"abcdefg"
        self.assertEqual(len(w.blocks()), 8 + len(ref.encode_block(b"abcdefg")))
        w.data += b"h"
        self.assertEqual(struct.unpack_from("<I", w.blocks(), 4)[0], 7)

    def test_empty_tree_is_25_bytes(self):
        self.assertEqual(len(self.decoded(ref.outline_record(ref.Tree()))), 25)


class Source(unittest.TestCase):
    def test_header_dates(self):
        self.assertEqual(ref.header_date(b"INFOTEXT [Name] 12.03.96"), (1996, 3, 12))
        self.assertEqual(ref.header_date(b"INFOTEXT [Name]"), ref.DEFAULT_DATE)
        self.assertEqual(ref.header_date(b"INFOTEXT [Name] soon"), ref.DEFAULT_DATE)
        self.assertIsNone(ref.header_date(b"INFOTEXT Name"))
        self.assertEqual(ref.DEFAULT_DATE, (1996, 5, 2))
        self.assertEqual(ref.pack_date(ref.DEFAULT_DATE), 0x07CC0502)

    def test_paragraph_joining(self):
        lines, wrap = ref.join_paragraphs([b"alpha", b"beta", b"", b" gamma", b"delta"])
        self.assertEqual(lines, [b"alpha beta", b"", b" gamma delta"])
        self.assertTrue(wrap)

    def test_nowrap_in_lower_case_drops_the_line_and_keeps_lines_apart(self):
        lines, wrap = ref.join_paragraphs([b"<nowrap>", b"alpha", b"beta"])
        self.assertEqual(lines, [b"alpha", b"beta"])
        self.assertFalse(wrap)

    def test_a_line_holding_only_a_font_tag_keeps_paragraphs_apart(self):
        lines, _ = ref.join_paragraphs([b"<F1>Titel", b"<F0>", b"Text", b"mehr"])
        self.assertEqual(lines, [b"<F1>Titel", b"<F0>", b"Text mehr"])

    def test_outline_example_tree(self):
        tree = ref.build_outline([b"A", b"  A1", b"  A2", b"B", b"  B1", b"C"])
        self.assertEqual(tree.names, [b"A", b"B", b"C", b"A1", b"A2", b"B1"])
        self.assertEqual(tree.root_count, 3)
        self.assertEqual(tree.first_children, [3, 5, -1, -1, -1, -1])
        self.assertEqual(tree.child_counts, [2, 1, 0, 0, 0, 0])
        self.assertEqual(tree.parents, [-1, -1, -1, 0, 0, 1])

    def test_a_value_line_that_is_a_key_line_stands_alone(self):
        c = ref.analyse_component([b"[ShortInfo]", b"[LongInfo]", b"lang", b"[Price]", b"1"])
        self.assertEqual(c["ShortInfo"], [b"[LongInfo]"])
        self.assertEqual(c["LongInfo"], [b"lang"])

    def test_compilers_tokens_and_numbers(self):
        def compilers(value):
            return ref.analyse_component([b"[Compiler]", value])["Compilers"]

        self.assertEqual(compilers(b"PANDEX, BP"), 5)
        self.assertEqual(compilers(b"PANDEX2"), 2)
        self.assertEqual(ref.word_tokens(b"A,B C"), [b"AB", b"C"])
        self.assertEqual(ref.word_tokens(b"drag&drop"), [b"DRAG&&DROP"])
        self.assertEqual(ref.parse_integer(b"x"), 0)
        self.assertEqual(ref.parse_integer(b"-1"), 255)
        self.assertEqual(ref.parse_integer(b"300"), 44)
        self.assertEqual(ref.parse_integer(b" 5"), 0)

    def test_a_key_line_without_value_is_a_list_error(self):
        with self.assertRaises(ref.ListIndexError):
            ref.analyse_component([b"[ShortName]", b"x", b"[Rating]"])

    def test_upper_casing_changes_ascii_letters_only(self):
        self.assertEqual(ref.upper(b"abc\xe4\xfcz"), b"ABC\xe4\xfcZ")


if __name__ == "__main__":
    unittest.main()
