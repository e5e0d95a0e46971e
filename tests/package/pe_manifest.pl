#!/usr/bin/perl
# pe_manifest.pl EXE: prints the program's manifest, the resource of type
# RT_MANIFEST (24) and identifier 1 that Windows reads at process start;
# fails when the file is not a PE image or holds no such resource.
use strict;
use warnings;

open(my $in, '<:raw', $ARGV[0]) or die "$ARGV[0]: $!\n";
my $image = do { local $/; <$in> };
sub bytes {
  my ($offset, $length) = @_;
  die "truncated image\n" if $offset + $length > length $image;
  return substr($image, $offset, $length);
}

my $pe = unpack('V', bytes(0x3c, 4));
die "$ARGV[0]: not a PE image\n" unless bytes($pe, 4) eq "PE\0\0";
my ($sections, $optionalSize) = unpack('x2 v x12 v', bytes($pe + 4, 20));
my $optional = $pe + 24;
my $directories = $optional + (unpack('v', bytes($optional, 2)) == 0x20b ? 112 : 96);
my ($resourceRva) = unpack('V', bytes($directories + 2 * 8, 4));   # data directory 2: resources
die "$ARGV[0]: no resources\n" unless $resourceRva;

# File offset of a relative virtual address, through the section table.
sub offset {
  my ($rva) = @_;
  for my $i (0 .. $sections - 1) {
    my ($virtualSize, $address, $rawSize, $raw) = unpack('x8 V V V V', bytes($optional + $optionalSize + 40 * $i, 24));
    return $raw + $rva - $address if $rva >= $address && $rva < $address + $rawSize;
  }
  die "address $rva is in no section\n";
}

my $root = offset($resourceRva);
# The entry of directory $dir whose numeric identifier is $id (any when undefined).
sub entry {
  my ($dir, $id) = @_;
  my ($named, $numbered) = unpack('v v', bytes($dir + 12, 4));
  for my $i (0 .. $named + $numbered - 1) {
    my ($name, $target) = unpack('V V', bytes($dir + 16 + 8 * $i, 8));
    next if $name & 0x80000000;   # a named entry
    return $target if !defined $id || $name == $id;
  }
  return undef;
}
my $level = $root;
for my $id (24, 1, undef) {       # type, identifier, then its one language
  my $target = entry($level, $id) // die "$ARGV[0]: no RT_MANIFEST resource 1\n";
  $level = $root + ($target & 0x7fffffff);
  last unless $target & 0x80000000;
}
my ($dataRva, $size) = unpack('V V', bytes($level, 8));
print bytes(offset($dataRva), $size);
