"""What the corpus generators of bench/app share."""


def filler(rng, pool, size):
    """Lines drawn from pool until they hold at least size bytes."""
    out, n = [], 0
    while n < size:
        line = pool[rng.randrange(len(pool))]
        out.append(line)
        n += len(line)
    return out
